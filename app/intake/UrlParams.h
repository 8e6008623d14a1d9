// The query parameters of an invocation URL: finding a parameter's value and decoding it.
#pragma once

#include <QString>

// The value of the first parameter called Name (compared without regard to case) in a query of name=value
// pairs joined by "&"; everything after its first "=". Empty when there is no such parameter. The query is
// split before decoding, so an encoded "&" stays inside its value.
QString ParamValue(const QString& Params, const QString& Name);

// Decodes "+" and "%XX" escapes ("%%" stands for "%") and reads the bytes as UTF-8. Raises EUrlError on a
// malformed escape or on bytes that are not UTF-8.
QString UrlDecode(const QString& Value);

// The decoded value of the parameter Name of Params, as ParamValue finds it; raises EUrlError naming the
// parameter where it does not decode.
QString DecodedParam(const QString& Params, const QString& Name);

// Value decoded as UrlDecode does, for the link's parameter Name: raises EUrlError naming the parameter where
// it does not decode.
QString DecodeParamValue(const QString& Value, const QString& Name);
