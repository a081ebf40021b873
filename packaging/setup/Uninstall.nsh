; The uninstaller: takes away every file and key the setup made, and the
; saver's own settings only when the user ticks them.
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_PAGE_HEADER_TEXT "Remove ${PRODUCT}"
!define MUI_PAGE_HEADER_SUBTEXT "The parade leaves your computer."
!define MUI_COMPONENTSPAGE_TEXT_TOP "This takes away the screen saver, its Start menu entry and its place in the list of installed programs. Tick your settings too if you will not march again."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

Section "un.${PRODUCT}"
    SectionIn RO
    Call un.PutBackPreviousSaver
    Delete "${SETTINGS_LINK}"
    Delete "$INSTDIR\Dovezi.scr"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    RMDir "$LOCALAPPDATA\Programs"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Your settings (music, background, animation)"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
SectionEnd
