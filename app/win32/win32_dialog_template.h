// An in-memory dialog template: the dialog and its controls, laid out in dialog units, for
// DialogBoxIndirectParam. The program then needs no resource script of its own for it.
#pragma once

#include <windows.h>

#include <vector>

struct DialogTemplate {
    std::vector<WORD> words; // DWORD-aligned in memory, as DLGTEMPLATE wants
};

// A dialog in the system's message-box font; items are then added one by one.
void dialogTemplateBegin(DialogTemplate* dialog, const char* title, short width, short height);
// className: one of the system's classes by name ("BUTTON", "msctls_trackbar32"...).
void dialogTemplateAddItem(DialogTemplate* dialog, const char* className, const char* text,
                           DWORD style, RECT dialogUnits, WORD id);
const DLGTEMPLATE* dialogTemplateData(const DialogTemplate& dialog);
