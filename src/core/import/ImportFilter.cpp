#include "core/import/ImportFilter.h"

#include <algorithm>

ImportFilter::ImportFilter(const QString &patterns)
{
    static const QRegularExpression separators(QStringLiteral("[\\s;,]+"));
    for (const QString &word : patterns.split(separators, Qt::SkipEmptyParts))
        patterns_.emplace_back(QRegularExpression::wildcardToRegularExpression(word),
                               QRegularExpression::CaseInsensitiveOption);
}

bool ImportFilter::matches(const QString &name) const
{
    return patterns_.empty() ||
           std::any_of(patterns_.begin(), patterns_.end(),
                       [&name](const QRegularExpression &re) { return re.match(name).hasMatch(); });
}
