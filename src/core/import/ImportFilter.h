#pragma once

#include <QRegularExpression>
#include <QString>

#include <vector>

// The import table's filter: name patterns separated by blanks, "*.nes *.zip", without
// regard to case. No pattern matches everything.
class ImportFilter {
public:
    explicit ImportFilter(const QString &patterns = {});
    bool matches(const QString &name) const;

private:
    std::vector<QRegularExpression> patterns_;
};
