; Parlivo installer: the program with its lexicon in Program Files, a Start-menu
; shortcut, and an uninstaller that keeps the user's chosen language unless asked.
; makensis -DVERSION=x.y.z -DSOURCE=<release folder> -DOUTFILE=<setup.exe> Parlivo.nsi
Target amd64-unicode
!include "x64.nsh"

Name "Parlivo ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Parlivo"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Parlivo"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Parlivo"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Parlivo setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Parlivo authors; dictionaries under the licences in Licences"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage components
UninstPage instfiles

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Parlivo"
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Parlivo"
  CreateShortcut "$SMPROGRAMS\Parlivo\Parlivo.lnk" "$INSTDIR\Parlivo.exe"
  CreateShortcut "$SMPROGRAMS\Parlivo\Uninstall Parlivo.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Parlivo"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Parlivo.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "-un.Parlivo"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Parlivo\Parlivo.lnk"
  Delete "$SMPROGRAMS\Parlivo\Uninstall Parlivo.lnk"
  RMDir "$SMPROGRAMS\Parlivo"
  RMDir /r "$INSTDIR\Files"
  RMDir /r "$INSTDIR\Licences"
  Delete "$INSTDIR\Parlivo.exe"
  Delete "$INSTDIR\UserGuide.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Forget my chosen language"
  DeleteRegKey HKCU "Software\Parlivo"
SectionEnd
