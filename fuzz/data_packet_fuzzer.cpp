// Feeds arbitrary bytes to the loader of the table file's data packet. A packet that loads must be written
// and loaded again to the same structure and rows, as every save and the next start do.
#include "app/table/ClientDataSet.h"
#include "app/table/DataPacket.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool sameFields(const QList<TFieldDef>& a, const QList<TFieldDef>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.at(i).Name != b.at(i).Name || a.at(i).Size != b.at(i).Size)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DataPacket::TContent content;
    try {
        content = DataPacket::Read(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const EDatabaseError&) {
        return 0;
    }
    const QByteArray written = DataPacket::Write(content.FieldDefs, content.Rows);
    const DataPacket::TContent again = DataPacket::Read(written); // an error here escapes and is a finding
    if (!sameFields(again.FieldDefs, content.FieldDefs) || again.Rows != content.Rows)
        std::abort();
    return 0;
}
