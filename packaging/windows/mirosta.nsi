; The Windows installer: per user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Mirosta. Made by scripts/windows/build.sh, which passes
;   VERSION  the program's version, as 2.2
;   STAGE    the folder with mirosta.exe and everything it needs
;   FILES    an include file that deletes exactly the files of STAGE from $INSTDIR
;   OUTFILE  the installer to write
; The program keeps a.bz, ts.ini and its other data beside mirosta.exe (the folder is the
; user's own, so it is writable); the uninstaller removes the program's own files only, never the
; data, and the folder only when nothing else is left in it.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mirosta"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The value the program's own 设置开机自启动 writes: named after its file name, its path quoted.
!define RUN_VALUE "mirosta"

Name "Mirosta ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Mirosta"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Mirosta ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "Mirosta"
VIAddVersionKey /LANG=2052 "FileDescription" "Mirosta ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "Mirosta"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Mirosta"

!define MUI_ICON "${__FILEDIR__}/mirosta.ico"
!define MUI_UNICON "${__FILEDIR__}/mirosta.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\mirosta.exe"
!define MUI_FINISHPAGE_RUN_TEXT "启动 Mirosta"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Mirosta 程序" SectionProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Mirosta"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Mirosta"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\mirosta.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "开始菜单快捷方式" SectionShortcut
    CreateShortcut "$SMPROGRAMS\Mirosta.lnk" "$INSTDIR\mirosta.exe"
SectionEnd

Section "开机自动启动" SectionAutostart
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\mirosta.exe"'
SectionEnd

Section "Uninstall"
    ; The start-at-login value goes only when it starts this copy of the program.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    StrCmp $0 '"$INSTDIR\mirosta.exe"' 0 +2
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    Delete "$SMPROGRAMS\Mirosta.lnk"
    !include "${FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
