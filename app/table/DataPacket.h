// The dataset engine's XML data packet: a DATAPACKET with the field definitions under METADATA and one ROW
// element per row under ROWDATA, each field an attribute. Reading accepts the packets that engine writes,
// including a change log that was never merged; writing produces the merged form, in ASCII with character
// references, so that any reader decodes it alike.
#pragma once

#include "app/table/ClientDataSet.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace DataPacket {

struct TContent {
    QList<TFieldDef> FieldDefs;
    QList<QStringList> Rows; // one value per field definition, in their order
};

// The packet's structure and its rows with the change log merged in; EDatabaseError names the problem. Field
// names must be ASCII, so that the packet can be written again.
TContent Read(const QByteArray& Packet);

QByteArray Write(const QList<TFieldDef>& FieldDefs, const QList<QStringList>& Rows);

} // namespace DataPacket
