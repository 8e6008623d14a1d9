// Reads an invocation URL: lists its parts for the user, then takes the module address and the PDF address
// from its query.
#pragma once

#include <QString>
#include <functional>

// Adds the lines "protocol :", "Host :", "Path :", "URI :", "Document :" and "Params :" with their values
// through AddLine, then fills ModuleAddress and pdfurl with the decoded parameters "moduleaddress" and
// "pdfurl". Raises EUrlError from the "URI :" line (no protocol or no host) and from decoding; the lines and
// the field stored before the error stay.
void ReadInvocationUrl(const QString& Url, const std::function<void(const QString&)>& AddLine,
                       QString& ModuleAddress, QString& pdfurl);
