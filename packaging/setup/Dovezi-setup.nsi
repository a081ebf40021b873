; The Windows setup program: installs the screen saver for the current user
; alone, with no administrator, into %LOCALAPPDATA%\Programs\Dovezi.
; makensis is given SAVER (the built Dovezi.scr), ICON (the module's icon),
; PICTURE (the units beside the first and last pages) and OUTFILE (the setup
; to write).
Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "Velmar Dovezi Screen Saver"
; The version the About page shows.
!define VERSION "1.0"
; The maker the saver keeps its settings under.
!define PUBLISHER "Tevrin"
!define SETTINGS_KEY "Software\${PUBLISHER}\Dovezi"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dovezi"
!define SETTINGS_LINK "$SMPROGRAMS\${PRODUCT} Settings.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Dovezi"
BrandingText "${PRODUCT} Version ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow
SpaceTexts none

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "${PRODUCT} Setup"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "© ${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "CurrentSaver.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURE}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "${PRODUCT}"
!define MUI_WELCOMEPAGE_TEXT "Seven units on parade across your desktop, with a march on your MIDI output.$\r$\n$\r$\nThis puts ${PRODUCT} Version ${VERSION} on your computer, for you alone: no administrator is needed, and nothing changes for the other people who use this computer.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "The parade is ready"
!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed. Its settings are in the Start menu, under $\"${PRODUCT} Settings$\".$\r$\n$\r$\nTicked, the box below makes it your screen saver and opens the screen saver settings of Windows."
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Make it my screen saver"
!define MUI_FINISHPAGE_RUN_FUNCTION ChooseThisSaver
!insertmacro MUI_PAGE_FINISH

!include "Uninstall.nsh"

!insertmacro MUI_LANGUAGE English

Section
    SetOutPath "$INSTDIR"
    File "/oname=Dovezi.scr" "${SAVER}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortCut "${SETTINGS_LINK}" "$INSTDIR\Dovezi.scr" "/c" "$INSTDIR\Dovezi.scr" 0 \
        SW_SHOWNORMAL "" "Choose the music, the background and the units of the parade"

    WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\Dovezi.scr,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" UninstallString "$\"$INSTDIR\Uninstall.exe$\""
    WriteRegStr HKCU "${UNINSTALL_KEY}" QuietUninstallString "$\"$INSTDIR\Uninstall.exe$\" /S"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" NoRepair 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

; A silent setup takes the finish page's choice as it stands, without
; opening any window.
Function .onInstSuccess
    ${If} ${Silent}
        Call MakeThisSaverCurrent
    ${EndIf}
FunctionEnd

Function ChooseThisSaver
    Call MakeThisSaverCurrent
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd
