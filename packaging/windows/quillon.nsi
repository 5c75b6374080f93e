; The Windows installer: the program in Program Files\Quillon, a Start-menu entry, the
; screen saver where Windows lists them, and an uninstaller registered with the system.
; Run with /S for a silent install. Made by tools/build-windows:
;   makensis -DVERSION=1.0 -DBUILD=<folder with quillon.exe and .scr> -DSOURCE=<checkout>
;            -DOUTPUT=<installer to make> quillon.nsi
; A 64-bit installer for a 64-bit program: it sees the real Program Files and system
; folder, and runs where only 64-bit programs can (Wine without its 32-bit half).
Target amd64-unicode

Name "Quillon"
OutFile "${OUTPUT}"
InstallDir "$PROGRAMFILES64\Quillon"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Quillon"
  SetOutPath "$INSTDIR"
  File "${BUILD}/quillon.exe"
  File "/oname=LICENSE.txt" "${SOURCE}/LICENSE"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The screen-saver settings page lists the .scr files of the system folder.
  SetOutPath "$SYSDIR"
  File "${BUILD}/quillon.scr"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Quillon.lnk" "$INSTDIR\quillon.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quillon"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Quillon developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Quillon.lnk"
  Delete "$SYSDIR\quillon.scr"
  Delete "$INSTDIR\quillon.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; The folder goes only when empty: a Quillon.ini the user put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
