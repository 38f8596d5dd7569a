#include "core/steam/ShortcutsVdf.h"

#include <QtEndian>

namespace zanku {
namespace {
const QByteArray ListName = QByteArrayLiteral("shortcuts");

// The length of a value of this type starting at `at`; -1 when not known or cut short.
qsizetype valueLength(const QByteArray &data, qsizetype at, quint8 type)
{
    qsizetype length = -1;
    switch (type) {
    case VdfField::String: {
        const qsizetype end = data.indexOf('\0', at);
        length = end < 0 ? -1 : end + 1 - at;
        break;
    }
    case VdfField::Int32:
    case 3: // a float
    case 4: // a pointer
    case 6: // a colour
        length = 4;
        break;
    case 7:  // an unsigned 64-bit number
    case 10: // a signed one
        length = 8;
        break;
    case VdfField::Map: { // its fields, each skipped by its own length, then its closing byte
        qsizetype next = at;
        while (next < data.size() && quint8(data[next]) != VdfField::End) {
            const quint8 inner = quint8(data[next]);
            const qsizetype nameEnd = data.indexOf('\0', next + 1);
            const qsizetype inside = nameEnd < 0 ? -1 : valueLength(data, nameEnd + 1, inner);
            if (inside < 0)
                return -1;
            next = nameEnd + 1 + inside;
        }
        length = next < data.size() ? next + 1 - at : -1;
        break;
    }
    default: // a type whose length is not known: nothing after it can be found
        break;
    }
    return length >= 0 && at + length <= data.size() ? length : -1;
}

VdfField *findField(VdfFields &fields, const char *name)
{
    for (VdfField &field : fields) {
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return &field;
    }
    fields.push_back({VdfField::String, QByteArray(name), {}});
    return &fields.back();
}
} // namespace

std::optional<VdfFields> ParseVdfMap(const QByteArray &map)
{
    if (valueLength(map, 0, VdfField::Map) != map.size())
        return std::nullopt;
    VdfFields fields;
    qsizetype at = 0;
    while (quint8(map[at]) != VdfField::End) {
        const quint8 type = quint8(map[at]);
        const qsizetype nameEnd = map.indexOf('\0', at + 1);
        const qsizetype length = valueLength(map, nameEnd + 1, type);
        fields.push_back({type, map.mid(at + 1, nameEnd - at - 1), map.mid(nameEnd + 1, length)});
        at = nameEnd + 1 + length;
    }
    return fields;
}

QByteArray WriteVdfMap(const VdfFields &fields)
{
    QByteArray bytes;
    for (const VdfField &field : fields)
        bytes.append(char(field.type)).append(field.name).append('\0').append(field.value);
    return bytes.append(char(VdfField::End));
}

const VdfField *FindVdfField(const VdfFields &fields, const char *name)
{
    for (const VdfField &field : fields) {
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return &field;
    }
    return nullptr;
}

QString VdfString(const VdfFields &fields, const char *name)
{
    const VdfField *field = FindVdfField(fields, name);
    return field == nullptr || field->type != VdfField::String
               ? QString()
               : QString::fromUtf8(field->value.chopped(1));
}

std::optional<qint32> VdfInt(const VdfFields &fields, const char *name)
{
    const VdfField *field = FindVdfField(fields, name);
    if (field == nullptr || field->type != VdfField::Int32)
        return std::nullopt;
    return qFromLittleEndian<qint32>(field->value.constData());
}

void SetVdfString(VdfFields &fields, const char *name, const QString &text)
{
    VdfField *field = findField(fields, name);
    field->type = VdfField::String;
    field->value = text.toUtf8().replace('\0', QByteArray()).append('\0');
}

void SetVdfInt(VdfFields &fields, const char *name, qint32 number)
{
    VdfField *field = findField(fields, name);
    field->type = VdfField::Int32;
    field->value = QByteArray(4, '\0');
    qToLittleEndian(number, field->value.data());
}

std::optional<ShortcutsVdf> ShortcutsVdf::parse(const QByteArray &bytes)
{
    ShortcutsVdf list;
    if (bytes.isEmpty()) {
        list.root_.push_back({VdfField::Map, ListName, {}});
        return list;
    }
    std::optional<VdfFields> root = ParseVdfMap(bytes);
    if (!root)
        return std::nullopt;
    for (size_t i = 0; i < root->size(); ++i) {
        const VdfField &field = (*root)[i];
        if (field.type != VdfField::Map || field.name.compare(ListName, Qt::CaseInsensitive) != 0)
            continue;
        std::optional<VdfFields> shortcuts = ParseVdfMap(field.value);
        if (!shortcuts)
            return std::nullopt;
        list.root_ = std::move(*root);
        list.listAt_ = i;
        list.shortcuts_ = std::move(*shortcuts);
        return list;
    }
    return std::nullopt;
}

QByteArray ShortcutsVdf::bytes() const
{
    VdfFields root = root_;
    root[listAt_].value = WriteVdfMap(shortcuts_);
    return WriteVdfMap(root);
}

VdfFields ShortcutsVdf::fields(int index) const
{
    const VdfField &shortcut = shortcuts_.at(size_t(index));
    return shortcut.type == VdfField::Map ? ParseVdfMap(shortcut.value).value_or(VdfFields())
                                          : VdfFields();
}

void ShortcutsVdf::replace(int index, const VdfFields &fields)
{
    shortcuts_.at(size_t(index)).value = WriteVdfMap(fields);
}

void ShortcutsVdf::append(const VdfFields &fields)
{
    // Named by the number after the largest: Steam's own numbering, kept when it has gaps.
    int next = 0;
    for (const VdfField &shortcut : shortcuts_)
        next = std::max(next, shortcut.name.toInt() + 1);
    shortcuts_.push_back({VdfField::Map, QByteArray::number(next), WriteVdfMap(fields)});
}

} // namespace zanku
