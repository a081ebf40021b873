; The user's current screen saver, the value SCRNSAVE.EXE of
; HKCU\Control Panel\Desktop. Making this saver current keeps the value it
; replaces in the uninstall key; the uninstaller puts that value back while
; SCRNSAVE.EXE still names this saver.
!define DESKTOP_KEY "Control Panel\Desktop"
!define SAVER_VALUE "SCRNSAVE.EXE"
!define PREVIOUS_VALUE "PreviousScreenSaver"
!define SPI_SETSCREENSAVEACTIVE 17
; SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
!define SPIF_STORE_AND_TELL 3

; IsThisSaver: $R0 is 1 when SCRNSAVE.EXE names the installed saver, by its
; short path or its full one, else 0.
!macro IS_THIS_SAVER un
Function ${un}IsThisSaver
    Push $R1
    Push $R2
    StrCpy $R0 0
    ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "${SAVER_VALUE}"
    ${If} $R1 != ""
        GetFullPathName /SHORT $R1 $R1
        GetFullPathName /SHORT $R2 "$INSTDIR\Dovezi.scr"
        ${If} $R1 != ""
        ${AndIf} $R1 == $R2
            StrCpy $R0 1
        ${EndIf}
    ${EndIf}
    Pop $R2
    Pop $R1
FunctionEnd
!macroend
!insertmacro IS_THIS_SAVER ""
!insertmacro IS_THIS_SAVER "un."

; A second setup over this saver keeps the value the first one replaced.
Function MakeThisSaverCurrent
    Call IsThisSaver
    ${If} $R0 == 0
        ClearErrors
        ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "${SAVER_VALUE}"
        ${If} ${Errors}
            DeleteRegValue HKCU "${UNINSTALL_KEY}" "${PREVIOUS_VALUE}"
        ${Else}
            WriteRegStr HKCU "${UNINSTALL_KEY}" "${PREVIOUS_VALUE}" $R1
        ${EndIf}
    ${EndIf}
    GetFullPathName /SHORT $R1 "$INSTDIR\Dovezi.scr"
    ${If} $R1 == ""
        StrCpy $R1 "$INSTDIR\Dovezi.scr"
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "${SAVER_VALUE}" $R1
    System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_STORE_AND_TELL})"
FunctionEnd

; With no value kept, there was no screen saver before this one.
Function un.PutBackPreviousSaver
    Call un.IsThisSaver
    ${If} $R0 == 1
        ClearErrors
        ReadRegStr $R1 HKCU "${UNINSTALL_KEY}" "${PREVIOUS_VALUE}"
        ${If} ${Errors}
            DeleteRegValue HKCU "${DESKTOP_KEY}" "${SAVER_VALUE}"
        ${Else}
            WriteRegStr HKCU "${DESKTOP_KEY}" "${SAVER_VALUE}" $R1
        ${EndIf}
    ${EndIf}
FunctionEnd
