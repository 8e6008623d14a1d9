// The table of kestrova-pdf's commands: each one's words, usage and what it runs, in the usage's order.
#include "AnnotationReports.h"
#include "CommandLine.h"
#include "DocumentReports.h"
#include "ObjectReports.h"

using namespace PDFium;

namespace {

TSearchOptions SearchOptions(const QStringList& flags) {
    TSearchOptions options;
    for (const auto& [flag, option] :
         {std::pair{"--case", seCaseSensitive}, std::pair{"--whole-word", seWholeWord},
          std::pair{"--consecutive", seConsecutive}})
        if (flags.contains(QLatin1String(flag)))
            options.Include(option);
    return options;
}

} // namespace

const QList<ToolCommand>& ToolCommands() {
    static const QList<ToolCommand> commands{
        {"info",
         {"FILE"},
         {},
         {},
         {},
         {"document information and every page's size, rotation and label,",
          "or its error where the page cannot be read"},
         {},
         [](TPdf& pdf, const ToolInvocation&) {
             return InspectInfo(pdf);
         }},
        {"text",
         {"FILE", "PAGE"},
         {},
         {},
         {},
         {"the page's text and every character"},
         {},
         [](TPdf& pdf, const ToolInvocation&) {
             return InspectText(pdf);
         }},
        {"find",
         {"FILE", "PAGE", "TEXT"},
         {"--case", "--whole-word", "--consecutive", "--backward"},
         {},
         {},
         {"the character index of every match"},
         {},
         [](TPdf& pdf, const ToolInvocation& invocation) {
             return InspectFind(pdf, invocation.Text, SearchOptions(invocation.Flags),
                                invocation.Flags.contains("--backward"));
         }},
        {"links",
         {"FILE", "PAGE"},
         {},
         {},
         {},
         {"link annotations and web links of the page"},
         {},
         [](TPdf& pdf, const ToolInvocation&) {
             return InspectLinks(pdf);
         }},
        {"outline",
         {"FILE"},
         {},
         {},
         {},
         {"the bookmark tree, to 32 levels, and the named destinations"},
         {},
         [](TPdf& pdf, const ToolInvocation&) {
             return InspectOutline(pdf);
         }},
        {"render",
         {"FILE", "PAGE", "DPI", "OUT.png"},
         {},
         {},
         {},
         {"the page and its annotations drawn on white, as a PNG"},
         {},
         [](TPdf& pdf, const ToolInvocation& invocation) {
             return RenderToPng(pdf, invocation.Dpi, invocation.Output);
         }},
        {"objects",
         {"FILE", "PAGE"},
         {},
         {},
         {},
         {"index, type, bounds and transparency of every object of the page"},
         {},
         [](TPdf& pdf, const ToolInvocation&) {
             return InspectObjects(pdf);
         }},
        {"images",
         {"FILE", "PAGE", "DIR"},
         {},
         {},
         {},
         {"every image of the page written into DIR as a PNG"},
         {},
         [](TPdf& pdf, const ToolInvocation& invocation) {
             return ExtractImages(pdf, invocation.Folder);
         }},
        {"edit",
         {"FILE", "OUT"},
         {},
         "PLACEMENT",
         [](const QStringList& words, ToolInvocation& invocation) {
             invocation.Edit.Placements = ParsePlacements(words);
         },
         {"places everything on the pages and saves to OUT (may be FILE);",
          "a full save unless --incremental; coordinates in points from the",
          "visible page's lower-left corner, colours as RRGGBB"},
         {"    text PAGE X Y TEXT [font=Helvetica|FILE] [size=12] [color=000000] [alpha=255]",
          "                              text that the standard font does not draw takes a system font",
          "                              that draws it all (fontconfig), or the TrueType or OpenType FILE",
          "    image PAGE X Y FILE [width=W] [height=H]   a PNG, JPEG or other picture; one point a pixel,",
          "                              or as wide or high as given, keeping its proportions",
          "    rect PAGE X Y WIDTH HEIGHT [fill=RRGGBB] [stroke=RRGGBB] [line=1] [alpha=255]",
          "    polyline PAGE X1 Y1 X2 Y2 [X Y ...] [close] [fill=RRGGBB] [stroke=RRGGBB] [line=1] "
          "[alpha=255]",
          "                              a path without fill or stroke is stroked black"},
         [](TPdf& pdf, const ToolInvocation& invocation) {
             return ApplyEdits(pdf, invocation.Edit);
         }},
        {"annots",
         {"FILE", "PAGE"},
         {},
         {},
         {},
         {"every annotation of the page with all its fields"},
         {},
         [](TPdf& pdf, const ToolInvocation&) {
             return InspectAnnotations(pdf);
         }},
        {"fields",
         {"FILE"},
         {},
         {},
         {},
         {"every form field: page, index, name, type, value, flags, options with",
          "their export values, and the options selected"},
         {},
         [](TPdf& pdf, const ToolInvocation&) {
             return InspectFormFields(pdf);
         }},
        {"annotate",
         {"FILE", "OUT"},
         {},
         "EDIT",
         [](const QStringList& words, ToolInvocation& invocation) {
             invocation.AnnotationEdits = ParseAnnotationEdits(words);
         },
         {"changes the annotations and saves to OUT, as edit does; rectangles and",
          "points from the visible page's lower-left corner, as edit places",
          "(annots reports them in the page's own space)"},
         {"    add PAGE SUBTYPE LEFT BOTTOM RIGHT TOP [SETTING...]   a new annotation (text, highlight,",
          "                              square, underline, ...), printed and red unless told otherwise;",
          "                              text markup covers its rectangle unless points= says otherwise",
          "    set PAGE INDEX [SETTING...]  changes the annotation at INDEX",
          "    delete PAGE INDEX         removes it; later indexes move down by one",
          "    SETTING: color=RRGGBB alpha=0-255 interior=RRGGBB interior-alpha=0-255 contents=TEXT",
          "             author=TEXT flags=print,hidden,... points=X1,Y1,...,X4,Y4 "
          "rect=LEFT,BOTTOM,RIGHT,TOP"},
         [](TPdf& pdf, const ToolInvocation& invocation) {
             return ApplyAnnotationEdits(pdf, invocation.AnnotationEdits, invocation.Edit);
         }},
        {"fill",
         {"FILE", "OUT"},
         {},
         "NAME=VALUE",
         [](const QStringList& words, ToolInvocation& invocation) {
             invocation.FormValues = ParseFormValues(words);
         },
         {"fills form fields as typing and clicking would and saves to OUT;",
          "check boxes take Off or their on state, radio groups the export",
          "value or on state of a button, choice fields one of their options",
          "by its label or export value;", "a list that allows several takes every value given for its NAME"},
         {},
         [](TPdf& pdf, const ToolInvocation& invocation) {
             return FillForm(pdf, invocation.FormValues, invocation.Edit);
         }},
    };
    return commands;
}
