; The ZELT-2 GSM configurator for 64-bit Windows.
; makensis -DSTAGE=<folder> -DFILES=<files.nsh> -DOUTFILE=<zelt-setup.exe> -DVERSION=<x.y.z.w> zelt.nsi
; The stage holds everything the program needs; files.nsh lists it for the
; uninstaller (tools/windows/package.sh writes both).
; A 64-bit installer: it runs where 32-bit programs cannot (a 64-bit-only Wine).
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define NAME "ZELT-2 GSM"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\zelt"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
InstallDirRegKey HKLM "Software\zelt" "InstallDir"
Icon "${STAGE}/zelt.ico"
UninstallIcon "${STAGE}/zelt.ico"
VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "FileDescription" "Программатор ZELT-2 GSM"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "ZELT-2 GSM"

!include "LogicLib.nsh"
!include "x64.nsh"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "Software\zelt" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zelt.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${NAME}"
  ; The shortcut starts the program in its own folder.
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${NAME}\${NAME}.lnk" "$INSTDIR\zelt.exe" "" "$INSTDIR\zelt.ico" 0
  CreateShortCut "$SMPROGRAMS\${NAME}\${NAME} (демо).lnk" "$INSTDIR\zelt.exe" "--demo" "$INSTDIR\zelt.ico" 0
  CreateShortCut "$SMPROGRAMS\${NAME}\Удалить ${NAME}.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${NAME}\${NAME}.lnk"
  Delete "$SMPROGRAMS\${NAME}\${NAME} (демо).lnk"
  Delete "$SMPROGRAMS\${NAME}\Удалить ${NAME}.lnk"
  RMDir "$SMPROGRAMS\${NAME}"
  ; What was installed, file by file: an install folder chosen by hand may
  ; hold other files, which stay.
  !include "${FILES}"
  ; What the program itself writes beside itself when the folder is writable.
  Delete "$INSTDIR\KVSmon.Log"
  Delete "$INSTDIR\Tables.db"
  Delete "$INSTDIR\Tables.db-wal"
  Delete "$INSTDIR\Tables.db-shm"
  Delete "$INSTDIR\*Log.Txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\zelt"
SectionEnd
