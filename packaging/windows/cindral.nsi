; The installer of Cindral for Windows, built with makensis by the target
; cindral_installer of a Windows build (cmake/windows-dist.cmake), which
; defines VERSION, VERSION4 (four numbers), STAGE (the folder holding the
; files to install), ICON, OUTFILE and PLUGINS (the macros that install and
; remove the shipped plug-ins by name).
;
; A per-user install, into the user's own programs folder: the program keeps
; its selections, lists and log file beside its executable, so its folder
; must be writable by the user who runs it, and by nobody else (a folder
; shared by all users would let one user plant custom entries that another
; user's cleaning run then erases). No administrator rights are needed.
;
; Silent use: "setup.exe /S" installs, "/D=FOLDER" (last) chooses the folder.
; "uninstall.exe /S" removes the program and keeps the user's data;
; "/S /REMOVEDATA" removes the data too. Exit code 0 on success, 2 when
; cancelled (for example because Cindral is running).

Unicode true
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include "${PLUGINS}"

!define PRODUCT "Cindral"
!define COMPANY "Quorvane Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Cindral"
!define SETTINGS_KEY "Software\Quorvane\Cindral"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MUTEX "tCindralMutex"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "${COMPANY}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${COMPANY}. All rights reserved."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\cindral.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"

!insertmacro MUI_PAGE_LICENSE "${STAGE}\license.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Your data stays unless you tick it below."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Sets $0 to 1 when the program runs in this session (it holds its mutex).
!macro IsRunning
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${MUTEX}") p .r1'
    StrCpy $0 0
    ${If} $1 P<> 0
        System::Call 'kernel32::CloseHandle(p r1)'
        StrCpy $0 1
    ${EndIf}
!macroend

!macro RefuseWhileRunning
    !insertmacro IsRunning
    ${If} $0 = 1
        MessageBox MB_OK|MB_ICONEXCLAMATION \
            "${PRODUCT} is running. Please end it (tray icon, Exit) and try again." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
!macroend

Function .onInit
    !insertmacro RefuseWhileRunning
FunctionEnd

Section "${PRODUCT}" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${STAGE}\cindral.exe"
    File "${STAGE}\peditor.exe"
    File "${STAGE}\cindral-cli.exe"
    File "${STAGE}\help.chm"
    File "${STAGE}\license.txt"
    SetOutPath "$INSTDIR\Plug-Ins"
    !insertmacro InstallShippedPlugins
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\cindral.exe" "" \
        "$INSTDIR\cindral.exe" 0 SW_SHOWNORMAL "" "Erase the traces programs leave behind"
    CreateShortcut "$SMPROGRAMS\${PRODUCT} Plug-In Editor.lnk" "$INSTDIR\peditor.exe" "" \
        "$INSTDIR\peditor.exe" 0 SW_SHOWNORMAL "" "Write and test plug-ins"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\cindral.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.quorvane.example/cindral/"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "https://support.quorvane.example/cindral/"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; ---------------------------------------------------------------------------
; Uninstaller

Section "un.${PRODUCT}" SecUnProgram
    SectionIn RO
    Delete "$INSTDIR\cindral.exe"
    Delete "$INSTDIR\cindral-cli.exe"
    Delete "$INSTDIR\peditor.exe"
    Delete "$INSTDIR\help.chm"
    Delete "$INSTDIR\license.txt"
    Delete "$INSTDIR\uninstall.exe"
    !insertmacro DeleteShippedPlugins
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT} Plug-In Editor.lnk"

    ; The start-with-Windows entry goes when it starts this copy (the path
    ; stands unquoted before " -m -s"); one that starts another copy stays.
    ReadRegStr $0 HKCU "${RUN_KEY}" "Cindral"
    StrCpy $1 "$INSTDIR\cindral.exe"
    StrCpy $2 $0 1
    ${If} $2 == '"'
        StrCpy $1 '"$1"'
    ${EndIf}
    StrLen $2 $1
    StrCpy $3 $0 $2
    StrCpy $4 $0 1 $2
    ${If} $3 == $1
        ${If} $4 == ""
        ${OrIf} $4 == " "
            DeleteRegValue HKCU "${RUN_KEY}" "Cindral"
        ${EndIf}
    ${EndIf}

    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

!macro DeleteData name
    Delete "$INSTDIR\Data\${name}"
!macroend

Section /o "un.Your data" SecData
    ; The program's own files by name, never whole folders: the folder may
    ; have been chosen beside files that are not ours.
    !insertmacro DeleteData "SelItems.dat"
    !insertmacro DeleteData "CustomFolder.dat"
    !insertmacro DeleteData "CustomRegistry.dat"
    !insertmacro DeleteData "DriveScan.dat"
    !insertmacro DeleteData "CookieKept.dat"
    !insertmacro DeleteData "AddressesKept.dat"
    !insertmacro DeleteData "OpenSaveKept.dat"
    ; What an interrupted save may have left (GetTempFileName's "cnd" names).
    Delete "$INSTDIR\Data\cnd*.tmp"
    Delete "$INSTDIR\cnd*.tmp"
    Delete "$INSTDIR\Plug-Ins\*.cnp"
    Delete "$INSTDIR\logs.txt"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Quorvane"
SectionEnd

Section "-un.Folders"
    ; Empty folders only: whatever the user keeps stays where it was.
    RMDir "$INSTDIR\Plug-Ins"
    RMDir "$INSTDIR\Data"
    RMDir "$INSTDIR"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecUnProgram} \
        "The program, its help, the Start-menu entry and the start-with-Windows entry."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecData} \
        "Your selections, custom and keeper lists, added plug-ins, the log file and your settings."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
    !insertmacro RefuseWhileRunning
    ; /REMOVEDATA ticks the data section, for silent use.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEDATA" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecData} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
