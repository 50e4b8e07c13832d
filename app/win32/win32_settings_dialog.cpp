// The screensaver's settings dialog, built in memory: three trackbars, a background choice, check
// boxes for the frame rate, the following view and the scene's renewal, and OK, Cancel and
// Defaults. The dialog manager gives it the keyboard:
// Tab between controls, Enter for OK, Escape for Cancel.
#include "app/win32/win32_settings_dialog.h"

#include <commctrl.h>

#include <cstdio>

#include "app/win32/win32_dialog_template.h"

namespace {

constexpr const char* kTitle = "Velmorin Settings";
constexpr short kWidth = 230;
constexpr short kHeight = 151;
constexpr WORD kDefaultsId = 100;

// One trackbar row: its label, the bar and the value shown beside it.
struct SliderRow {
    const char* label;
    WORD barId;
    WORD valueId;
    uint32_t SaverSettings::*field;
    uint32_t min;
    uint32_t max;
    uint32_t page; // what PageUp and PageDown move by
};

constexpr SliderRow kSliders[] = {
    {"&Spheres:", 101, 111, &SaverSettings::bodies, kMinBodies, kMaxBodies, 1},
    {"S&peed:", 102, 112, &SaverSettings::speedPercent, kMinSpeedPercent, kMaxSpeedPercent, 25},
    {"Sp&ray:", 103, 113, &SaverSettings::spray, 0, kMaxParticles, 10},
};
constexpr WORD kBackgroundId = 104;
constexpr WORD kShowFpsId = 105;
constexpr WORD kFollowId = 106;
constexpr WORD kRenewId = 107;
constexpr const char* kBackgroundLabels[kSaverBackgroundCount] = {"Background picture",
                                                                  "No background picture"};

constexpr int kRowTop = 8;
constexpr int kRowPitch = 20;
constexpr int kLabelLeft = 7;
constexpr int kControlLeft = 62;
constexpr int kValueLeft = 196;
constexpr int kCheckPitch = 14;
constexpr int kButtonTop = 130;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

RECT unitsAt(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

void buildTemplate(DialogTemplate* dialog) {
    dialogTemplateBegin(dialog, kTitle, kWidth, kHeight);
    int top = kRowTop;
    for (const SliderRow& row : kSliders) {
        dialogTemplateAddItem(dialog, "STATIC", row.label, SS_LEFT,
                              unitsAt(kLabelLeft, top + 3, 52, 9), static_cast<WORD>(-1));
        dialogTemplateAddItem(dialog, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_NOTICKS | WS_TABSTOP,
                              unitsAt(kControlLeft, top, 132, 15), row.barId);
        dialogTemplateAddItem(dialog, "STATIC", "", SS_LEFT, unitsAt(kValueLeft, top + 3, 28, 9),
                              row.valueId);
        top += kRowPitch;
    }
    dialogTemplateAddItem(dialog, "STATIC", "&Background:", SS_LEFT,
                          unitsAt(kLabelLeft, top + 4, 52, 9), static_cast<WORD>(-1));
    dialogTemplateAddItem(dialog, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                          unitsAt(kControlLeft, top + 2, 120, 60), kBackgroundId);
    top += kRowPitch;
    dialogTemplateAddItem(dialog, "BUTTON", "Show &frame rate", BS_AUTOCHECKBOX | WS_TABSTOP,
                          unitsAt(kControlLeft, top, 120, 10), kShowFpsId);
    top += kCheckPitch;
    dialogTemplateAddItem(dialog, "BUTTON", "Follo&w the spheres", BS_AUTOCHECKBOX | WS_TABSTOP,
                          unitsAt(kControlLeft, top, 150, 10), kFollowId);
    top += kCheckPitch;
    dialogTemplateAddItem(dialog, "BUTTON", "&New scene when they fly apart",
                          BS_AUTOCHECKBOX | WS_TABSTOP, unitsAt(kControlLeft, top, 150, 10),
                          kRenewId);
    dialogTemplateAddItem(dialog, "BUTTON", "&Defaults", BS_PUSHBUTTON | WS_TABSTOP,
                          unitsAt(kLabelLeft, kButtonTop, kButtonWidth, kButtonHeight),
                          kDefaultsId);
    dialogTemplateAddItem(
        dialog, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP,
        unitsAt(kWidth - 2 * kButtonWidth - 11, kButtonTop, kButtonWidth, kButtonHeight), IDOK);
    dialogTemplateAddItem(
        dialog, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP,
        unitsAt(kWidth - kButtonWidth - 7, kButtonTop, kButtonWidth, kButtonHeight), IDCANCEL);
}

void showSliderValue(HWND dialog, const SliderRow& row) {
    const LRESULT position = SendDlgItemMessageA(dialog, row.barId, TBM_GETPOS, 0, 0);
    char text[16];
    if (row.field == &SaverSettings::speedPercent) {
        std::snprintf(text, sizeof text, "%gx", static_cast<double>(position) / kSpeedPercentScale);
    } else {
        std::snprintf(text, sizeof text, "%ld", static_cast<long>(position));
    }
    SetDlgItemTextA(dialog, row.valueId, text);
}

void showSettings(HWND dialog, const SaverSettings& settings) {
    for (const SliderRow& row : kSliders) {
        SendDlgItemMessageA(dialog, row.barId, TBM_SETPOS, TRUE,
                            static_cast<LPARAM>(settings.*row.field));
        showSliderValue(dialog, row);
    }
    SendDlgItemMessageA(dialog, kBackgroundId, CB_SETCURSEL, settings.background, 0);
    CheckDlgButton(dialog, kShowFpsId, settings.showFps != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, kFollowId,
                   settings.view == kSaverViewFixed ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(dialog, kRenewId,
                   settings.renew == kSaverRenewNever ? BST_UNCHECKED : BST_CHECKED);
}

// What is not on the dialog (the frame cap) stays as it was.
void readSettings(HWND dialog, SaverSettings* settings) {
    for (const SliderRow& row : kSliders) {
        settings->*row.field =
            static_cast<uint32_t>(SendDlgItemMessageA(dialog, row.barId, TBM_GETPOS, 0, 0));
    }
    const LRESULT background = SendDlgItemMessageA(dialog, kBackgroundId, CB_GETCURSEL, 0, 0);
    settings->background =
        background == CB_ERR ? kSaverBackgroundFill : static_cast<uint32_t>(background);
    settings->showFps = IsDlgButtonChecked(dialog, kShowFpsId) == BST_CHECKED ? 1 : 0;
    settings->view =
        IsDlgButtonChecked(dialog, kFollowId) == BST_CHECKED ? kSaverViewFollow : kSaverViewFixed;
    settings->renew =
        IsDlgButtonChecked(dialog, kRenewId) == BST_CHECKED ? kSaverRenewAuto : kSaverRenewNever;
}

void setUpControls(HWND dialog, const SaverSettings& settings) {
    for (const SliderRow& row : kSliders) {
        SendDlgItemMessageA(dialog, row.barId, TBM_SETRANGEMIN, FALSE, row.min);
        SendDlgItemMessageA(dialog, row.barId, TBM_SETRANGEMAX, FALSE, row.max);
        SendDlgItemMessageA(dialog, row.barId, TBM_SETPAGESIZE, 0, row.page);
    }
    for (const char* label : kBackgroundLabels) {
        SendDlgItemMessageA(dialog, kBackgroundId, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(label));
    }
    showSettings(dialog, settings);
}

SaverSettings* dialogSettings(HWND dialog) {
    return reinterpret_cast<SaverSettings*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        setUpControls(dialog, *reinterpret_cast<SaverSettings*>(lParam));
        return TRUE; // the keyboard focus on the first control
    case WM_HSCROLL:
        for (const SliderRow& row : kSliders) {
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, row.barId)) {
                showSliderValue(dialog, row);
            }
        }
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            readSettings(dialog, dialogSettings(dialog));
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL: // also Escape and the close box
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case kDefaultsId:
            // Only shown: OK keeps them, Cancel still keeps what was stored.
            showSettings(dialog, saverSettingsDefaults());
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

bool win32RunSettingsDialog(HWND owner, SaverSettings* settings) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES; // the trackbars
    InitCommonControlsEx(&controls);
    DialogTemplate dialog;
    buildTemplate(&dialog);
    SaverSettings chosen = *settings;
    const INT_PTR result =
        DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplateData(dialog), owner,
                                settingsDialogProc, reinterpret_cast<LPARAM>(&chosen));
    if (result != IDOK) {
        return false;
    }
    *settings = chosen;
    return true;
}
