// The one place where the program shows a message box: the standard error box and the editor's "Error"
// dialog. Tests install a recorder so that they see what a person would see without a modal box blocking
// them. Where no display can show a box (Qt's offscreen and minimal platforms), the message goes to standard
// error instead, so that nobody waits on a box that nobody sees.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace MessageBoxes {

// What a box shows: its kind ("error" for the standard error box, "editorError" for the editor's dialog),
// its caption and its text.
struct Shown {
    QString kind;
    QString caption;
    QString text;
};

// The standard error box: error icon, the application's title as caption, an OK button, and the message with
// a full stop appended when its last character's code lies above that of the full stop.
void ShowError(const QString& message);

// The editor's error dialog: caption "Error", error icon, one OK button, the message unchanged.
void ShowEditorError(QWidget* parent, const QString& message);

// Whether a message went to standard error because no display could show its box.
bool ShownWithoutDisplay();

// Makes every later box go to the recorder instead of the screen; an empty recorder shows real boxes again.
void SetRecorder(std::function<void(const Shown&)> recorder);

// The application's title: the executable's file name without its folder, cut at its first full stop, every
// letter after the first in lower case.
QString ApplicationTitle(const QString& executablePath);

// The message as the standard error box shows it.
QString WithFullStop(const QString& message);

} // namespace MessageBoxes
