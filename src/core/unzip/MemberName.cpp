#include "core/unzip/MemberName.h"

std::optional<QString> MemberName(zip_t *archive, zip_uint64_t index, zip_stat_t &st)
{
    if (zip_stat_index(archive, index, ZIP_FL_ENC_STRICT, &st) != 0 ||
        (st.valid & ZIP_STAT_NAME) == 0 || !st.name)
        return std::nullopt;
    return QString::fromUtf8(st.name);
}
