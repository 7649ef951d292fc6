; Installer of Optalis for Windows, in French. For the current user without administrator rights
; (in %LOCALAPPDATA%\Programs), or for all users when run as administrator (in Program Files).
; Defines from tools/windows/package: VERSION, OUTFILE, FILES, UNFILES (the lists of the
; portable folder's files), ICON.
; /CurrentUser on the command line installs for the current user even as administrator.
; A 64-bit installer, like the program: it runs under wine64 too.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define APP Optalis
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define UNINSTALLER "desinstaller.exe"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1036 ProductName "${APP}"
VIAddVersionKey /LANG=1036 FileDescription "Installation d'${APP}"
VIAddVersionKey /LANG=1036 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1036 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1036 LegalCopyright "Optalis"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\optalis.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Lancer Optalis"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Var AllUsers

Function .onInit
    StrCpy $AllUsers 0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/CurrentUser" $1
    ${If} ${Errors}
        UserInfo::GetAccountType
        Pop $1
        ${If} $1 == "Admin"
            StrCpy $AllUsers 1
        ${EndIf}
    ${EndIf}
    ${If} $AllUsers == 1
        SetShellVarContext all
        StrCpy $INSTDIR "$PROGRAMFILES64\${APP}"
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd

; The file types of configurations and exercises open in Optalis, with its icon.
!macro FileType EXT CLASS DESCRIPTION
    WriteRegStr SHCTX "Software\Classes\.${EXT}" "" "${CLASS}"
    WriteRegStr SHCTX "Software\Classes\${CLASS}" "" "${DESCRIPTION}"
    WriteRegStr SHCTX "Software\Classes\${CLASS}\DefaultIcon" "" '"$INSTDIR\optalis.exe",0'
    WriteRegStr SHCTX "Software\Classes\${CLASS}\shell\open\command" "" '"$INSTDIR\optalis.exe" "%1"'
!macroend

; An extension another program took since is left to it.
!macro UnFileType EXT CLASS
    ReadRegStr $0 SHCTX "Software\Classes\.${EXT}" ""
    ${If} $0 == "${CLASS}"
        DeleteRegValue SHCTX "Software\Classes\.${EXT}" ""
        DeleteRegKey /ifempty SHCTX "Software\Classes\.${EXT}"
    ${EndIf}
    DeleteRegKey SHCTX "Software\Classes\${CLASS}"
!macroend

Section
    SetOutPath "$INSTDIR"
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\optalis.exe" "" "$INSTDIR\optalis.exe" 0

    !insertmacro FileType P17 "Optalis.Configuration" "Configuration Optalis"
    !insertmacro FileType E38 "Optalis.Exercice" "Exercice Optalis"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Optalis"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\optalis.exe",0'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
    ; Explorer shows the new icons at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; The uninstaller serves the installation it sits in: all users when the machine's list names
; its folder.
Function un.onInit
    SetShellVarContext current
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        SetShellVarContext all
    ${EndIf}
FunctionEnd

Section Uninstall
    !include "${UNFILES}"
    ; The exchange file the program writes beside itself; what the user saved stays, and so
    ; does the folder then.
    Delete "$INSTDIR\TEMPQX.TMP"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${APP}.lnk"
    !insertmacro UnFileType P17 "Optalis.Configuration"
    !insertmacro UnFileType E38 "Optalis.Exercice"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
