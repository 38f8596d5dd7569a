#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace zanku {

// One field of a binary VDF map as it lies in the file: its type byte, its name, and the
// bytes of its value (for a map, its fields and its closing byte). A field is written
// back from these bytes, so what the program does not understand survives unchanged.
struct VdfField {
    enum Type : quint8 { Map = 0, String = 1, Int32 = 2, End = 8 };
    quint8 type = String;
    QByteArray name;
    QByteArray value;
};
using VdfFields = std::vector<VdfField>;

// The fields of a map's bytes (its closing byte last); nothing when they are not one, or
// hold a type whose length is not known.
std::optional<VdfFields> ParseVdfMap(const QByteArray &map);
// The bytes of a map of these fields, its closing byte included.
QByteArray WriteVdfMap(const VdfFields &fields);

// A field by its name, whose letter case Steam has not always kept the same; nullptr or
// empty when missing.
const VdfField *FindVdfField(const VdfFields &fields, const char *name);
QString VdfString(const VdfFields &fields, const char *name);
std::optional<qint32> VdfInt(const VdfFields &fields, const char *name);
// Replaces the field's value, or adds the field last.
void SetVdfString(VdfFields &fields, const char *name, const QString &text);
void SetVdfInt(VdfFields &fields, const char *name, qint32 number);

// Steam's list of non-Steam shortcuts ("shortcuts.vdf"): a map named "shortcuts" holding
// one map a shortcut, named by its number. Reading and writing back gives the same bytes;
// an added or changed shortcut changes only its own.
class ShortcutsVdf {
public:
    // Nothing when the bytes are not such a list. No bytes at all are an empty list.
    static std::optional<ShortcutsVdf> parse(const QByteArray &bytes);
    QByteArray bytes() const;

    int count() const { return int(shortcuts_.size()); }
    // The fields of one shortcut; a field that is not a map reads as none.
    VdfFields fields(int index) const;
    void replace(int index, const VdfFields &fields);
    void append(const VdfFields &fields);

private:
    VdfFields root_; // "shortcuts" among them, whose value is rebuilt from shortcuts_
    size_t listAt_ = 0;
    VdfFields shortcuts_;
};

} // namespace zanku
