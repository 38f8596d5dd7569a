#include "unzip/UnzipNames.h"

QString MemberPath::relative() const
{
    QStringList parts = folders;
    if (!fileName.isEmpty())
        parts.append(fileName);
    return parts.join(QLatin1Char('/'));
}

namespace {

bool isDriveLetter(const QString &name)
{
    return name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).unicode() < 128 &&
           name.at(0).isLetter();
}

bool onlyDotsAndBlanks(const QString &component)
{
    for (const QChar c : component) {
        if (c != QLatin1Char('.') && c != QLatin1Char(' '))
            return false;
    }
    return true;
}

bool hasControlCharacter(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

} // namespace

MemberPath ResolveMemberPath(const QString &name, bool recreateFolders)
{
    MemberPath path;
    QString normal = name;
    normal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (normal.isEmpty() || normal.startsWith(QLatin1Char('/')) || isDriveLetter(normal) ||
        hasControlCharacter(normal))
        return path;
    path.folder = normal.endsWith(QLatin1Char('/'));

    QStringList components;
    for (const QString &component : normal.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (component == QLatin1String("."))
            continue;
        if (onlyDotsAndBlanks(component) || component.contains(QLatin1Char(':')))
            return path;
        components.append(component);
    }
    if (components.isEmpty() && !path.folder)
        return path;

    path.safe = true;
    if (path.folder) {
        if (recreateFolders)
            path.folders = components;
        return path;
    }
    path.fileName = components.takeLast();
    if (recreateFolders)
        path.folders = components;
    return path;
}

namespace {

QChar fold(QChar c, bool caseInsensitive)
{
    return caseInsensitive ? c.toCaseFolded() : c;
}

// Matches one "[...]" set at pattern[p] (just after "["); sets p past the closing "]".
// A set without its "]" is taken literally.
bool matchSet(const QString &pattern, qsizetype &p, QChar c, bool caseInsensitive, bool &valid)
{
    qsizetype i = p;
    bool negate = false;
    if (i < pattern.size() &&
        (pattern.at(i) == QLatin1Char('!') || pattern.at(i) == QLatin1Char('^'))) {
        negate = true;
        ++i;
    }
    bool found = false;
    bool first = true;
    const QChar fc = fold(c, caseInsensitive);
    while (i < pattern.size() && (first || pattern.at(i) != QLatin1Char(']'))) {
        first = false;
        QChar low = fold(pattern.at(i), caseInsensitive);
        QChar high = low;
        if (i + 2 < pattern.size() && pattern.at(i + 1) == QLatin1Char('-') &&
            pattern.at(i + 2) != QLatin1Char(']')) {
            high = fold(pattern.at(i + 2), caseInsensitive);
            i += 2;
        }
        if (fc >= low && fc <= high)
            found = true;
        ++i;
    }
    valid = i < pattern.size();
    if (valid)
        p = i + 1;
    return found != negate;
}

} // namespace

bool MatchesWildcard(const QString &pattern, const QString &name, bool caseInsensitive)
{
    // Iterative match with one backtracking point: the last "*" seen.
    qsizetype p = 0, n = 0;
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size()) {
            const QChar pc = pattern.at(p);
            if (pc == QLatin1Char('*')) {
                starP = ++p;
                starN = n;
                continue;
            }
            if (pc == QLatin1Char('?')) {
                ++p;
                ++n;
                continue;
            }
            if (pc == QLatin1Char('[')) {
                qsizetype after = p + 1;
                bool valid = false;
                const bool hit = matchSet(pattern, after, name.at(n), caseInsensitive, valid);
                if (valid) {
                    if (hit) {
                        p = after;
                        ++n;
                        continue;
                    }
                } else if (fold(pc, caseInsensitive) == fold(name.at(n), caseInsensitive)) {
                    ++p;
                    ++n;
                    continue;
                }
            } else if (fold(pc, caseInsensitive) == fold(name.at(n), caseInsensitive)) {
                ++p;
                ++n;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP;
        n = ++starN;
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}
