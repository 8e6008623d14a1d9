#pragma once

// Form filling: the callback records through which the engine asks the host
// for timers, repainting, page handles and (optionally) JavaScript dialogs,
// the form and field type codes, the additional-action codes, and the entry
// points that drive forms on pages.

#include "FPdfView.h"

namespace PDFium {

// Form technologies reported by FPDF_GetFormType.
constexpr int FORMTYPE_NONE = 0;
constexpr int FORMTYPE_ACRO_FORM = 1;
constexpr int FORMTYPE_XFA_FULL = 2;
constexpr int FORMTYPE_XFA_FOREGROUND = 3;
constexpr int FORMTYPE_COUNT = 4;

// Buttons, icons, answers and sounds of IPDF_JSPLATFORM.
constexpr int JSPLATFORM_ALERT_BUTTON_OK = 0;
constexpr int JSPLATFORM_ALERT_BUTTON_OKCANCEL = 1;
constexpr int JSPLATFORM_ALERT_BUTTON_YESNO = 2;
constexpr int JSPLATFORM_ALERT_BUTTON_YESNOCANCEL = 3;
constexpr int JSPLATFORM_ALERT_BUTTON_DEFAULT = JSPLATFORM_ALERT_BUTTON_OK;
constexpr int JSPLATFORM_ALERT_ICON_ERROR = 0;
constexpr int JSPLATFORM_ALERT_ICON_WARNING = 1;
constexpr int JSPLATFORM_ALERT_ICON_QUESTION = 2;
constexpr int JSPLATFORM_ALERT_ICON_STATUS = 3;
constexpr int JSPLATFORM_ALERT_ICON_ASTERISK = 4;
constexpr int JSPLATFORM_ALERT_ICON_DEFAULT = JSPLATFORM_ALERT_ICON_ERROR;
constexpr int JSPLATFORM_ALERT_RETURN_OK = 1;
constexpr int JSPLATFORM_ALERT_RETURN_CANCEL = 2;
constexpr int JSPLATFORM_ALERT_RETURN_NO = 3;
constexpr int JSPLATFORM_ALERT_RETURN_YES = 4;
constexpr int JSPLATFORM_BEEP_ERROR = 0;
constexpr int JSPLATFORM_BEEP_WARNING = 1;
constexpr int JSPLATFORM_BEEP_QUESTION = 2;
constexpr int JSPLATFORM_BEEP_STATUS = 3;
constexpr int JSPLATFORM_BEEP_DEFAULT = 4;

// Host services for document JavaScript. Strings are UTF-16LE; response and
// file path buffers are sized in bytes.
struct IPDF_JSPLATFORM {
    int version;
    // Version 1.
    int (*app_alert)(IPDF_JSPLATFORM* pThis, FPDF_WIDESTRING Msg, FPDF_WIDESTRING Title, int Type, int Icon);
    void (*app_beep)(IPDF_JSPLATFORM* pThis, int nType);
    int (*app_response)(IPDF_JSPLATFORM* pThis, FPDF_WIDESTRING Question, FPDF_WIDESTRING Title,
                        FPDF_WIDESTRING Default, FPDF_WIDESTRING cLabel, FPDF_BOOL bPassword, void* response,
                        int length);
    int (*Doc_getFilePath)(IPDF_JSPLATFORM* pThis, void* filePath, int length);
    void (*Doc_mail)(IPDF_JSPLATFORM* pThis, void* mailData, int length, FPDF_BOOL bUI, FPDF_WIDESTRING To,
                     FPDF_WIDESTRING Subject, FPDF_WIDESTRING CC, FPDF_WIDESTRING BCC, FPDF_WIDESTRING Msg);
    void (*Doc_print)(IPDF_JSPLATFORM* pThis, FPDF_BOOL bUI, int nStart, int nEnd, FPDF_BOOL bSilent,
                      FPDF_BOOL bShrinkToFit, FPDF_BOOL bPrintAsImage, FPDF_BOOL bReverse,
                      FPDF_BOOL bAnnotations);
    void (*Doc_submitForm)(IPDF_JSPLATFORM* pThis, void* formData, int length, FPDF_WIDESTRING URL);
    void (*Doc_gotoPage)(IPDF_JSPLATFORM* pThis, int nPageNum);
    int (*Field_browse)(IPDF_JSPLATFORM* pThis, void* filePath, int length);
    // Free for the host; the engine never reads it.
    void* m_pFormfillinfo;
    // Version 2; kept for layout, no longer read.
    void* m_isolate;
    unsigned int m_v8EmbedderSlot;
};

// Cursor shapes of FFI_SetCursor.
constexpr int FXCT_ARROW = 0;
constexpr int FXCT_NESW = 1;
constexpr int FXCT_NWSE = 2;
constexpr int FXCT_VBEAM = 3;
constexpr int FXCT_HBEAM = 4;
constexpr int FXCT_HAND = 5;

// Called by the host each time a timer set through FFI_SetTimer elapses.
typedef void (*TimerCallback)(int idEvent);

// Local time as FFI_GetLocalTime reports it.
struct FPDF_SYSTEMTIME {
    unsigned short wYear;
    unsigned short wMonth;
    unsigned short wDayOfWeek;
    unsigned short wDay;
    unsigned short wHour;
    unsigned short wMinute;
    unsigned short wSecond;
    unsigned short wMilliseconds;
};

// XFA page events, context menu entries and file kinds (version 2 members).
constexpr FPDF_DWORD FXFA_PAGEVIEWEVENT_POSTADDED = 1;
constexpr FPDF_DWORD FXFA_PAGEVIEWEVENT_POSTREMOVED = 3;
constexpr int FXFA_MENU_COPY = 1;
constexpr int FXFA_MENU_CUT = 2;
constexpr int FXFA_MENU_SELECTALL = 4;
constexpr int FXFA_MENU_UNDO = 8;
constexpr int FXFA_MENU_REDO = 16;
constexpr int FXFA_MENU_PASTE = 32;
constexpr int FXFA_SAVEAS_XML = 1;
constexpr int FXFA_SAVEAS_XDP = 2;

// Host services for form filling. The engine passes the record's own address
// as pThis to every callback. Version 1 uses the members up to
// m_pJsPlatform; version 2 adds the rest, which an XFA-enabled engine needs.
// Positions are in page coordinates.
struct FPDF_FORMFILLINFO {
    int version;
    // Version 1.
    void (*Release)(FPDF_FORMFILLINFO* pThis);
    void (*FFI_Invalidate)(FPDF_FORMFILLINFO* pThis, FPDF_PAGE page, double left, double top, double right,
                           double bottom);
    void (*FFI_OutputSelectedRect)(FPDF_FORMFILLINFO* pThis, FPDF_PAGE page, double left, double top,
                                   double right, double bottom);
    void (*FFI_SetCursor)(FPDF_FORMFILLINFO* pThis, int nCursorType);
    // Returns a non-zero timer identifier, 0 on failure.
    int (*FFI_SetTimer)(FPDF_FORMFILLINFO* pThis, int uElapse, TimerCallback lpTimerFunc);
    void (*FFI_KillTimer)(FPDF_FORMFILLINFO* pThis, int nTimerID);
    FPDF_SYSTEMTIME (*FFI_GetLocalTime)(FPDF_FORMFILLINFO* pThis);
    void (*FFI_OnChange)(FPDF_FORMFILLINFO* pThis);
    FPDF_PAGE (*FFI_GetPage)(FPDF_FORMFILLINFO* pThis, FPDF_DOCUMENT document, int nPageIndex);
    FPDF_PAGE (*FFI_GetCurrentPage)(FPDF_FORMFILLINFO* pThis, FPDF_DOCUMENT document);
    int (*FFI_GetRotation)(FPDF_FORMFILLINFO* pThis, FPDF_PAGE page);
    void (*FFI_ExecuteNamedAction)(FPDF_FORMFILLINFO* pThis, FPDF_BYTESTRING namedAction);
    // valueLen counts UTF-16 code units.
    void (*FFI_SetTextFieldFocus)(FPDF_FORMFILLINFO* pThis, FPDF_WIDESTRING value, FPDF_DWORD valueLen,
                                  FPDF_BOOL is_focus);
    void (*FFI_DoURIAction)(FPDF_FORMFILLINFO* pThis, FPDF_BYTESTRING bsURI);
    void (*FFI_DoGoToAction)(FPDF_FORMFILLINFO* pThis, int nPageIndex, int zoomMode, float* fPosArray,
                             int sizeofArray);
    // Null runs the environment without JavaScript.
    IPDF_JSPLATFORM* m_pJsPlatform;
    // Version 2.
    FPDF_BOOL xfa_disabled;
    void (*FFI_DisplayCaret)(FPDF_FORMFILLINFO* pThis, FPDF_PAGE page, FPDF_BOOL bVisible, double left,
                             double top, double right, double bottom);
    int (*FFI_GetCurrentPageIndex)(FPDF_FORMFILLINFO* pThis, FPDF_DOCUMENT document);
    void (*FFI_SetCurrentPage)(FPDF_FORMFILLINFO* pThis, FPDF_DOCUMENT document, int iCurPage);
    void (*FFI_GotoURL)(FPDF_FORMFILLINFO* pThis, FPDF_DOCUMENT document, FPDF_WIDESTRING wsURL);
    void (*FFI_GetPageViewRect)(FPDF_FORMFILLINFO* pThis, FPDF_PAGE page, double* left, double* top,
                                double* right, double* bottom);
    void (*FFI_PageEvent)(FPDF_FORMFILLINFO* pThis, int page_count, FPDF_DWORD event_type);
    FPDF_BOOL(*FFI_PopupMenu)
    (FPDF_FORMFILLINFO* pThis, FPDF_PAGE page, FPDF_WIDGET hWidget, int menuFlag, float x, float y);
    FPDF_FILEHANDLER* (*FFI_OpenFile)(FPDF_FORMFILLINFO* pThis, int fileFlag, FPDF_WIDESTRING wsURL,
                                      const char* mode);
    void (*FFI_EmailTo)(FPDF_FORMFILLINFO* pThis, FPDF_FILEHANDLER* fileHandler, FPDF_WIDESTRING pTo,
                        FPDF_WIDESTRING pSubject, FPDF_WIDESTRING pCC, FPDF_WIDESTRING pBcc,
                        FPDF_WIDESTRING pMsg);
    void (*FFI_UploadTo)(FPDF_FORMFILLINFO* pThis, FPDF_FILEHANDLER* fileHandler, int fileFlag,
                         FPDF_WIDESTRING uploadTo);
    int (*FFI_GetPlatform)(FPDF_FORMFILLINFO* pThis, void* platform, int length);
    int (*FFI_GetLanguage)(FPDF_FORMFILLINFO* pThis, void* language, int length);
    FPDF_FILEHANDLER* (*FFI_DownloadFromURL)(FPDF_FORMFILLINFO* pThis, FPDF_WIDESTRING URL);
    FPDF_BOOL(*FFI_PostRequestURL)
    (FPDF_FORMFILLINFO* pThis, FPDF_WIDESTRING wsURL, FPDF_WIDESTRING wsData, FPDF_WIDESTRING wsContentType,
     FPDF_WIDESTRING wsEncode, FPDF_WIDESTRING wsHeader, FPDF_BSTR* response);
    FPDF_BOOL(*FFI_PutRequestURL)
    (FPDF_FORMFILLINFO* pThis, FPDF_WIDESTRING wsURL, FPDF_WIDESTRING wsData, FPDF_WIDESTRING wsEncode);
    void (*FFI_OnFocusChange)(FPDF_FORMFILLINFO* param, FPDF_ANNOTATION annot, int page_index);
    void (*FFI_DoURIActionWithKeyboardModifier)(FPDF_FORMFILLINFO* param, FPDF_BYTESTRING uri, int modifiers);
};

// Document additional actions: before close, before and after save, before
// and after print.
constexpr int FPDFDOC_AACTION_WC = 0x10;
constexpr int FPDFDOC_AACTION_WS = 0x11;
constexpr int FPDFDOC_AACTION_DS = 0x12;
constexpr int FPDFDOC_AACTION_WP = 0x13;
constexpr int FPDFDOC_AACTION_DP = 0x14;

// Page additional actions: on open and on close.
constexpr int FPDFPAGE_AACTION_OPEN = 0;
constexpr int FPDFPAGE_AACTION_CLOSE = 1;

// Field types. 8 to 15 occur only with an XFA-enabled engine.
constexpr int FPDF_FORMFIELD_UNKNOWN = 0;
constexpr int FPDF_FORMFIELD_PUSHBUTTON = 1;
constexpr int FPDF_FORMFIELD_CHECKBOX = 2;
constexpr int FPDF_FORMFIELD_RADIOBUTTON = 3;
constexpr int FPDF_FORMFIELD_COMBOBOX = 4;
constexpr int FPDF_FORMFIELD_LISTBOX = 5;
constexpr int FPDF_FORMFIELD_TEXTFIELD = 6;
constexpr int FPDF_FORMFIELD_SIGNATURE = 7;
constexpr int FPDF_FORMFIELD_XFA = 8;
constexpr int FPDF_FORMFIELD_XFA_CHECKBOX = 9;
constexpr int FPDF_FORMFIELD_XFA_COMBOBOX = 10;
constexpr int FPDF_FORMFIELD_XFA_IMAGEFIELD = 11;
constexpr int FPDF_FORMFIELD_XFA_LISTBOX = 12;
constexpr int FPDF_FORMFIELD_XFA_PUSHBUTTON = 13;
constexpr int FPDF_FORMFIELD_XFA_SIGNATURE = 14;
constexpr int FPDF_FORMFIELD_XFA_TEXTFIELD = 15;

// Environment. formInfo must stay valid until the environment is closed.
inline FPDF_FORMHANDLE (*FPDFDOC_InitFormFillEnvironment)(FPDF_DOCUMENT document,
                                                          FPDF_FORMFILLINFO* formInfo) = nullptr;
inline void (*FPDFDOC_ExitFormFillEnvironment)(FPDF_FORMHANDLE hHandle) = nullptr;
inline void (*FORM_OnAfterLoadPage)(FPDF_PAGE page, FPDF_FORMHANDLE hHandle) = nullptr;
inline void (*FORM_OnBeforeClosePage)(FPDF_PAGE page, FPDF_FORMHANDLE hHandle) = nullptr;

// Document and page actions.
inline void (*FORM_DoDocumentJSAction)(FPDF_FORMHANDLE hHandle) = nullptr;
inline void (*FORM_DoDocumentOpenAction)(FPDF_FORMHANDLE hHandle) = nullptr;
inline void (*FORM_DoDocumentAAction)(FPDF_FORMHANDLE hHandle, int aaType) = nullptr;
inline void (*FORM_DoPageAAction)(FPDF_PAGE page, FPDF_FORMHANDLE hHandle, int aaType) = nullptr;

// Mouse and keyboard input; modifier holds FWL_EVENTFLAG_ bits, key codes
// are FWL_VKEY_ values.
inline FPDF_BOOL (*FORM_OnMouseMove)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int modifier, double page_x,
                                     double page_y) = nullptr;
inline FPDF_BOOL (*FORM_OnFocus)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int modifier, double page_x,
                                 double page_y) = nullptr;
inline FPDF_BOOL (*FORM_OnLButtonDown)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int modifier, double page_x,
                                       double page_y) = nullptr;
inline FPDF_BOOL (*FORM_OnLButtonUp)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int modifier, double page_x,
                                     double page_y) = nullptr;
inline FPDF_BOOL (*FORM_OnLButtonDoubleClick)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int modifier,
                                              double page_x, double page_y) = nullptr;
inline FPDF_BOOL (*FORM_OnKeyDown)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int nKeyCode,
                                   int modifier) = nullptr;
inline FPDF_BOOL (*FORM_OnKeyUp)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int nKeyCode,
                                 int modifier) = nullptr;
inline FPDF_BOOL (*FORM_OnChar)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int nChar, int modifier) = nullptr;
// Gives the focus to the widget annotation, as a click on it would.
inline FPDF_BOOL (*FORM_SetFocusedAnnot)(FPDF_FORMHANDLE handle, FPDF_ANNOTATION annot) = nullptr;

// Text of the focused field, UTF-16LE, sizes in bytes.
inline unsigned long (*FORM_GetFocusedText)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, void* buffer,
                                            unsigned long buflen) = nullptr;
inline unsigned long (*FORM_GetSelectedText)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, void* buffer,
                                             unsigned long buflen) = nullptr;
inline void (*FORM_ReplaceSelection)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page,
                                     FPDF_WIDESTRING wsText) = nullptr;
inline FPDF_BOOL (*FORM_CanUndo)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page) = nullptr;
inline FPDF_BOOL (*FORM_CanRedo)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page) = nullptr;
inline FPDF_BOOL (*FORM_Undo)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page) = nullptr;
inline FPDF_BOOL (*FORM_Redo)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page) = nullptr;
inline FPDF_BOOL (*FORM_ForceToKillFocus)(FPDF_FORMHANDLE hHandle) = nullptr;

// Fields under a point: the field type, or its z-order, -1 when none.
inline int (*FPDFPage_HasFormFieldAtPoint)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, double page_x,
                                           double page_y) = nullptr;
inline int (*FPDFPage_FormFieldZOrderAtPoint)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, double page_x,
                                              double page_y) = nullptr;

// Field highlighting; field type 0 applies to all fields, colour is 0xRRGGBB.
inline void (*FPDF_SetFormFieldHighlightColor)(FPDF_FORMHANDLE hHandle, int fieldType,
                                               unsigned long color) = nullptr;
inline void (*FPDF_SetFormFieldHighlightAlpha)(FPDF_FORMHANDLE hHandle, unsigned char alpha) = nullptr;
inline void (*FPDF_RemoveFormFieldHighlight)(FPDF_FORMHANDLE hHandle) = nullptr;

// Draws the form fields over a page already rendered into bitmap.
inline void (*FPDF_FFLDraw)(FPDF_FORMHANDLE hHandle, FPDF_BITMAP bitmap, FPDF_PAGE page, int start_x,
                            int start_y, int size_x, int size_y, int rotate, int flags) = nullptr;
inline int (*FPDF_GetFormType)(FPDF_DOCUMENT document) = nullptr;

// Options of the focused list or combo box.
inline FPDF_BOOL (*FORM_SetIndexSelected)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int index,
                                          FPDF_BOOL selected) = nullptr;
inline FPDF_BOOL (*FORM_IsIndexSelected)(FPDF_FORMHANDLE hHandle, FPDF_PAGE page, int index) = nullptr;

// Loads the document's XFA forms; not every engine build exports it.
inline FPDF_BOOL (*FPDF_LoadXFA)(FPDF_DOCUMENT document) = nullptr;

} // namespace PDFium

// This unit's entry points, in the order the binding resolves them.
#define PDFIUM_FPDFFORMFILL_ENTRY_POINTS(X)                                                                  \
    X(FPDFDOC_InitFormFillEnvironment)                                                                       \
    X(FPDFDOC_ExitFormFillEnvironment)                                                                       \
    X(FORM_OnAfterLoadPage)                                                                                  \
    X(FORM_OnBeforeClosePage)                                                                                \
    X(FORM_DoDocumentJSAction)                                                                               \
    X(FORM_DoDocumentOpenAction)                                                                             \
    X(FORM_DoDocumentAAction)                                                                                \
    X(FORM_DoPageAAction)                                                                                    \
    X(FORM_OnMouseMove)                                                                                      \
    X(FORM_OnFocus)                                                                                          \
    X(FORM_OnLButtonDown)                                                                                    \
    X(FORM_OnLButtonUp)                                                                                      \
    X(FORM_OnLButtonDoubleClick)                                                                             \
    X(FORM_OnKeyDown)                                                                                        \
    X(FORM_OnKeyUp)                                                                                          \
    X(FORM_OnChar)                                                                                           \
    X(FORM_SetFocusedAnnot)                                                                                  \
    X(FORM_GetFocusedText)                                                                                   \
    X(FORM_GetSelectedText)                                                                                  \
    X(FORM_ReplaceSelection)                                                                                 \
    X(FORM_CanUndo)                                                                                          \
    X(FORM_CanRedo)                                                                                          \
    X(FORM_Undo)                                                                                             \
    X(FORM_Redo)                                                                                             \
    X(FORM_ForceToKillFocus)                                                                                 \
    X(FPDFPage_HasFormFieldAtPoint)                                                                          \
    X(FPDFPage_FormFieldZOrderAtPoint)                                                                       \
    X(FPDF_SetFormFieldHighlightColor)                                                                       \
    X(FPDF_SetFormFieldHighlightAlpha)                                                                       \
    X(FPDF_RemoveFormFieldHighlight)                                                                         \
    X(FPDF_FFLDraw)                                                                                          \
    X(FPDF_GetFormType)                                                                                      \
    X(FORM_SetIndexSelected)                                                                                 \
    X(FORM_IsIndexSelected)                                                                                  \
    X(FPDF_LoadXFA)
