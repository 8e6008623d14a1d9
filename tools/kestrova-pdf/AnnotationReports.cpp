#include "AnnotationReports.h"

#include "JsonRecords.h"

using namespace PDFium;

QJsonObject InspectAnnotations(TPdf& Pdf) {
    QJsonArray annotations;
    const int count = Pdf.AnnotationCount();
    // An annotation that cannot be read is reported with its error in its place, and the others still are.
    for (int index = 0; index < count; ++index) {
        try {
            QJsonObject annotation = ToJson(Pdf.Annotation(index));
            annotation.insert("Index", index);
            annotations.append(annotation);
        } catch (const EPdfError& error) {
            annotations.append(QJsonObject{{"Index", index}, {"Error", error.Message()}});
        }
    }
    return {{"PageNumber", Pdf.PageNumber()}, {"AnnotationCount", count}, {"Annotations", annotations}};
}

QJsonObject InspectFormFields(TPdf& Pdf) {
    QJsonArray fields;
    QList<TPdfPageError> unreadable;
    for (const TPdfFormFieldEntry& field : ListFormFields(Pdf, &unreadable))
        fields.append(ToJson(field));
    // A page that cannot be read is reported with its error, and the fields of the others still are.
    QJsonArray pageErrors;
    for (const TPdfPageError& error : unreadable)
        pageErrors.append(QJsonObject{{"PageNumber", error.PageNumber}, {"Error", error.Message}});
    return {{"FormType", EnumName(Pdf.FormType())}, {"Fields", fields}, {"PageErrors", pageErrors}};
}
