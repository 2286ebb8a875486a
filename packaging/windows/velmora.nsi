; The Windows installer of Velmora (NSIS 3, Unicode). Made by scripts/windows.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DEXE=velmora.exe -DREADME=使用说明.txt -DOUTFILE=setup.exe velmora.nsi
; The program goes to Program Files with a marker file beside it, so that it
; keeps the diary in the user's %APPDATA%\Velmora; the uninstaller removes the
; program, its shortcuts and its entry in the list of programs, never the diary.
; A 64-bit installer for the 64-bit program (and Wine's 64-bit prefix runs it).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

Name "Velmora 心脑血管健康日记"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velmora"
InstallDirRegKey HKLM "Software\Velmora" "InstallDir"
RequestExecutionLevel admin
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "Velmora"
VIAddVersionKey /LANG=2052 "FileDescription" "Velmora 心脑血管健康日记 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "Velmora"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Velmora"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\velmora.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\使用说明.txt"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"

Section "Velmora"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=velmora.exe" "${EXE}"
  File "/oname=使用说明.txt" "${README}"
  ; Beside it, the marker that sends the diary to %APPDATA%\Velmora.
  FileOpen $0 "$INSTDIR\velmora.installed" w
  FileClose $0
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Velmora"
  CreateShortCut "$SMPROGRAMS\Velmora\Velmora 心脑血管健康日记.lnk" "$INSTDIR\velmora.exe"
  CreateShortCut "$SMPROGRAMS\Velmora\卸载 Velmora.lnk" "$INSTDIR\uninstall.exe"
  CreateShortCut "$DESKTOP\Velmora 心脑血管健康日记.lnk" "$INSTDIR\velmora.exe"
  WriteRegStr HKLM "Software\Velmora" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Velmora 心脑血管健康日记"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Velmora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmora.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there: the diary in %APPDATA%\Velmora (and any
; diary a user keeps elsewhere) stays.
Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\velmora.exe"
  Delete "$INSTDIR\使用说明.txt"
  Delete "$INSTDIR\velmora.installed"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Velmora\Velmora 心脑血管健康日记.lnk"
  Delete "$SMPROGRAMS\Velmora\卸载 Velmora.lnk"
  RMDir "$SMPROGRAMS\Velmora"
  Delete "$DESKTOP\Velmora 心脑血管健康日记.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Velmora"
SectionEnd
