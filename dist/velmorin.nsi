; The Windows installer, velmorin-VERSION-setup.exe, and its uninstaller, made with makensis from
; a staged install of the cross build (dist/CMakeLists.txt, target installer). Defines:
; VERSION (1.2.3), STAGE (the staged folder), ICON (velmorin.ico), OUTFILE (the setup program).
;
; It installs the programs, the pictures and the icon into the program files folder, the
; screensaver into the system folder (where the Screen Saver settings list savers), a Start menu
; entry for the windowed demo, and an entry in the installed programs. InstallDir under
; HKLM\Software\Velmorin tells the saver in the system folder where its pictures are.
; `/S` installs without a question. The uninstaller removes all of that again; the user's own
; settings (HKCU\Software\Velmorin, the painted backgrounds in %LOCALAPPDATA%\Velmorin) go only
; with `/PURGE` or when the user says yes when asked.

; 64-bit throughout: it starts where only 64-bit programs run, and its $SYSDIR is the real
; System32, where the 64-bit saver belongs, with no file system redirection to undo.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh

!define PRODUCT "Velmorin"
!define PUBLISHER "The Velmorin developers"
!define PRODUCT_KEY "Software\Velmorin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmorin"
!define UNINSTALLER "uninstall.exe"
!define SAVER "velmorin.scr"
!define MENU_ENTRY "$SMPROGRAMS\Velmorin.lnk"
!define PURGE_SWITCH "/PURGE"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velmorin"
InstallDirRegKey HKLM "${PRODUCT_KEY}" "InstallDir"
Icon "${ICON}"
UninstallIcon "${ICON}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Every machine-wide place: the registry's 64-bit view, and the Start menu of all users.
Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Velmorin"
    SetOutPath "$INSTDIR"
    File "${STAGE}\velmorin.exe"
    File "${STAGE}\velmorin-trace.exe"
    File "${STAGE}\velmorin-bmp.exe"
    File "${STAGE}\README.md"
    File "${STAGE}\LICENSE.txt"
    File "${ICON}"
    SetOutPath "$INSTDIR\bitmap"
    File "${STAGE}\bitmap\*.bmp"
    ; The saver is the demo under the name Windows runs savers by (the staged velmorin.exe is the
    ; stripped one).
    File "/oname=$SYSDIR\${SAVER}" "${STAGE}\velmorin.exe"
    ; The shortcut starts in the program's folder, where its bitmap\ is.
    SetOutPath "$INSTDIR"
    CreateShortcut "${MENU_ENTRY}" "$INSTDIR\velmorin.exe" "--windowed" "$INSTDIR\velmorin.ico" 0 \
        SW_SHOWNORMAL "" "Five spheres and their sprays, in a window"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    WriteRegStr HKLM "${PRODUCT_KEY}" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmorin.ico"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KiB, as the installed programs list wants it: the program folder and the saver.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    ${GetSize} "$SYSDIR" "/M=${SAVER} /S=0K /G=0" $1 $2 $3
    IntOp $0 $0 + $1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    Delete "$SYSDIR\${SAVER}"
    Delete "${MENU_ENTRY}"
    Delete "$INSTDIR\bitmap\*.bmp"
    RMDir "$INSTDIR\bitmap"
    Delete "$INSTDIR\velmorin.exe"
    Delete "$INSTDIR\velmorin-trace.exe"
    Delete "$INSTDIR\velmorin-bmp.exe"
    Delete "$INSTDIR\README.md"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\velmorin.ico"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Only when empty: whatever the user put there stays.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${PRODUCT_KEY}"

    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "${PURGE_SWITCH}" $1
    ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
            "Also remove your Velmorin settings (the saver's choices, the painted backgrounds)?" \
            /SD IDNO IDYES purge IDNO kept
    ${EndIf}
purge:
    DeleteRegKey HKCU "${PRODUCT_KEY}"
    SetShellVarContext current
    RMDir /r "$LOCALAPPDATA\Velmorin"
    SetShellVarContext all
kept:
    ; Last, so that the entry goes only once everything else has.
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
