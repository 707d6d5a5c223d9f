; Velumo's installer: per user, no administrator rights, into
; %LOCALAPPDATA%\Programs\Velumo, where notes.dat beside the program stays
; writable. Built by scripts/release.sh with makensis, which defines:
;   VERSION   "2.00"            SOURCE_DIR  the runnable folder to install
;   OUT_FILE  the setup program ICON        the program's icon
; Silent: "Velumo-2.00-setup.exe /S" installs, "uninstall.exe /S" removes the
; program and keeps the notes; add /DELETENOTES to remove them too.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include Sections.nsh

!define PRODUCT "Velumo"
!define PUBLISHER "Tarkwen"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velumo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Velumo ${VERSION}"
!define OPTION_KEY "Software\Tarkwen\Velumo"
; The named mutex a running Velumo holds, and its main window.
!define RUNNING_MUTEX "SkinDlg"
!define MAIN_WINDOW_CLASS "#32770"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Velumo"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "2.0.0.0"
VIFileVersion "2.0.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Tarkwen"
VIAddVersionKey "FileDescription" "Velumo ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; Pictures drawn from the program's artwork by draw_installer_art.sh.
!define MUI_WELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}/wizard.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}/wizard.bmp"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${__FILEDIR__}/header.bmp"
!define MUI_WELCOMEPAGE_TEXT "Setup installs Velumo ${VERSION}, paper-coloured notes for your desktop, for your user account only. No administrator rights are needed.$\r$\n$\r$\nIf Velumo is running, Setup ends it first; your notes are saved and kept.$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Velumo.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Velumo now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Velumo.chm"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the help"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Velumo will be removed. Your notes (notes.dat) and settings (Velumo.ini) stay in $INSTDIR for a later installation, unless you tick the box below."
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends a running Velumo the way the user would, by closing its main window
; once: it ends its open dialogs as Cancel and saves its notes on the way
; out; whatever it then asks (a save that failed) is left to the user. Waits
; up to ten seconds; a copy that does not end (that question still open) is
; left running: the user is asked to close it, and a silent run fails rather
; than lose notes.
!macro DEFINE_CLOSE_VELUMO prefix
Function ${prefix}CloseVelumo
    StrCpy $R1 0  ; quarter seconds waited
    StrCpy $R3 0  ; main window asked to close
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .R0'
        ${If} $R0 == 0
            ${Break}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p R0)'
        ${If} $R3 == 0
            ; The main window is the dialog titled "Velumo" that holds the
            ; note list (control 1000); its message boxes have the same title.
            StrCpy $R2 0
            ${Do}
                FindWindow $R2 "${MAIN_WINDOW_CLASS}" "${PRODUCT}" 0 $R2
                ${If} $R2 == 0
                    ${Break}
                ${EndIf}
                GetDlgItem $R4 $R2 1000
                ${If} $R4 != 0
                    SendMessage $R2 ${WM_CLOSE} 0 0 /TIMEOUT=2000
                    StrCpy $R3 1
                    ${Break}
                ${EndIf}
            ${Loop}
        ${EndIf}
        Sleep 250
        IntOp $R1 $R1 + 1
        ${If} $R1 >= 40
            ${If} ${Silent}
                SetErrorLevel 3
                Abort "Velumo is still running."
            ${EndIf}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Velumo is still running and could not be ended.$\r$\n$\r$\nClose any Velumo window that is still open, or choose Exit from its menu in the notification area, then click Retry." IDRETRY +3
            SetErrorLevel 3
            Abort "Velumo is still running."
            StrCpy $R1 0
            StrCpy $R3 0
        ${EndIf}
    ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_VELUMO ""
!insertmacro DEFINE_CLOSE_VELUMO "un."

Section "Velumo" SecProgram
    SectionIn RO
    Call CloseVelumo
    SetOutPath "$INSTDIR"
    ; The program's own files only: notes.dat and Velumo.ini are the user's
    ; and are never part of the package, so an update keeps them.
    File "${SOURCE_DIR}\Velumo.exe"
    File "${SOURCE_DIR}\Velumo.chm"
    ; The installed copy's own read-me: the portable one tells the user to
    ; delete the folder, which would leave the uninstall entry behind.
    File "/oname=ReadMe.txt" "${INSTALLED_README}"
    SetOutPath "$INSTDIR\Skins"
    File "${SOURCE_DIR}\Skins\*.*"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Velumo.lnk" "$INSTDIR\Velumo.exe" "" "$INSTDIR\Velumo.exe" 0 \
        SW_SHOWNORMAL "" "Paper-coloured notes on your desktop"

    WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Velumo.exe,0"
    WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKCU "${UNINST_KEY}" "URLInfoAbout" "https://www.tarkwen.com/velumo/"
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "un.Velumo" UnSecProgram
    SectionIn RO
    Call un.CloseVelumo
    Delete "$INSTDIR\Velumo.exe"
    Delete "$INSTDIR\Velumo.chm"
    Delete "$INSTDIR\ReadMe.txt"
    Delete "$INSTDIR\Skins\skin.ini"
    Delete "$INSTDIR\Skins\main.bmp"
    Delete "$INSTDIR\Skins\mask.bmp"
    Delete "$INSTDIR\Skins\over.bmp"
    Delete "$INSTDIR\Skins\down.bmp"
    Delete "$INSTDIR\Skins\disabled.bmp"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\Velumo.lnk"
    ; Windows must not try to start a program that is gone.
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd

Section /o "un.Also delete my notes" UnSecNotes
    Delete "$INSTDIR\notes.dat"
    Delete "$INSTDIR\notes.dat.new"
    Delete "$INSTDIR\Velumo.ini"
    DeleteRegKey HKCU "${OPTION_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Tarkwen"
SectionEnd

Section "-un.Folders"
    ; Only empty folders go: whatever the user keeps there stays.
    RMDir "$INSTDIR\Skins"
    RMDir "$INSTDIR"
SectionEnd

Function un.onInit
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/DELETENOTES" $R1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${UnSecNotes}
    ${EndIf}
FunctionEnd
