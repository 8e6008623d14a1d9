#include "AnnotationReports.h"

#include "JsonRecords.h"

using namespace PDFium;

QJsonObject InspectAnnotations(TPdf& Pdf) {
    QJsonArray annotations;
    const int count = Pdf.AnnotationCount();
    for (int index = 0; index < count; ++index) {
        QJsonObject annotation = ToJson(Pdf.Annotation(index));
        annotation.insert("Index", index);
        annotations.append(annotation);
    }
    return {{"PageNumber", Pdf.PageNumber()}, {"AnnotationCount", count}, {"Annotations", annotations}};
}

QJsonObject InspectFormFields(TPdf& Pdf) {
    QJsonArray fields;
    for (const TPdfFormFieldEntry& field : ListFormFields(Pdf))
        fields.append(ToJson(field));
    return {{"FormType", EnumName(Pdf.FormType())}, {"Fields", fields}};
}
