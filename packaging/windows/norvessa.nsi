; The Windows installer of Norvessa: Simplified Chinese pages, the programs in Program Files, a
; Start-menu shortcut and an uninstaller listed under Add/Remove Programs. Built by
; cmake/NorvessaWindowsPackage.cmake, which defines:
;   OUTPUT_FILE     the installer to write
;   QUERY_PROGRAM   norvessa-query.exe
;   GUI_PROGRAM     Norvessa.exe, when it is built
;   LICENSE_FILE    the licence, installed as LICENSE.txt
;   ICON_FILE       the program icon, also the installer's
;   WIN64           defined for the 64-bit build
Unicode true
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define PRODUCT "Norvessa"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Norvessa"

Name "${PRODUCT}"
OutFile "${OUTPUT_FILE}"
!ifdef WIN64
InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; Program Files and the machine's uninstall list need an administrator; the programs do not.
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON_FILE}"
!define MUI_UNICON "${ICON_FILE}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "1.0.0.0"
VIFileVersion "1.0.0.0"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "1.00"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "1.00"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "Norvessa 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "velthorn42"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "MIT"

Function .onInit
!ifdef WIN64
    SetRegView 64
!endif
    ; The shortcut is for every user of the machine, like the programs.
    SetShellVarContext all
FunctionEnd

Function un.onInit
!ifdef WIN64
    SetRegView 64
!endif
    SetShellVarContext all
FunctionEnd

Section "Norvessa"
    SetOutPath "$INSTDIR"
    File "/oname=norvessa-query.exe" "${QUERY_PROGRAM}"
    File "/oname=LICENSE.txt" "${LICENSE_FILE}"
!ifdef GUI_PROGRAM
    File "/oname=Norvessa.exe" "${GUI_PROGRAM}"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Norvessa.exe"
!endif
    WriteUninstaller "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.00"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "velthorn42"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
!ifdef GUI_PROGRAM
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Norvessa.exe"
!endif
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    ; What the installer put there, by name: never the whole folder, which the user chose.
    Delete "$INSTDIR\Norvessa.exe"
    Delete "$INSTDIR\norvessa-query.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
