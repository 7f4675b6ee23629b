// Turns a static control of a dialog into a hyperlink: blue, underlined, smaller text on the
// button face, a hand pointer, and a click that opens the product page.
#pragma once
#include <windows.h>

// What the subclassed windows need. Each record lives in a movable global-memory block that
// hangs on its window as a property, locked for every access: one per label under
// kLabelProperty, one per dialog (shared by its labels) under kDialogProperty.
struct LinkRecord
{
    char* text;           // label: its own heap copy of its text; dialog: null
    WNDPROC previousProc; // the window procedure before subclassing
    HFONT font;           // dialog: the link font, made when a label is first painted
    HBRUSH brush;         // dialog: the button-face background, made with the record
};

extern const char kLabelProperty[];  // "href_dat"
extern const char kDialogProperty[]; // "href_dlg"

// Shows text on the static control controlId of the dialog and makes it a link. Again on
// the same control it only replaces the text; the dialog is subclassed once for all its
// labels. When a record cannot be made the control stays a plain static text.
void InstallLinkLabel(HWND dialog, int controlId, const char* text);

LRESULT CALLBACK LinkLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LinkDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
