; The Windows installer of Korvex and Tamlo: the release folder that
; `cmake --install` lays out (packaging/windows.cmake), Start-menu entries,
; .rom files opened by Korvex (it opens both programs' projects), and an
; uninstaller in Add or Remove Programs. scripts/windows.sh builds it:
;   makensis -DVERSION=1.04 -DSOURCE=FOLDER -DOUTFILE=korvex-setup-1.04.exe korvex.nsi
; /S installs silently, /D=FOLDER (last) chooses the folder.
Unicode true
SetCompressor /SOLID lzma
Name "Korvex ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Korvex"
RequestExecutionLevel admin
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Russian.nlf"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvex"
!define PROJECT_CLASS "Korvex.Project"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Korvex"
  CreateShortcut "$SMPROGRAMS\Korvex\Korvex.lnk" "$INSTDIR\korvex.exe"
  CreateShortcut "$SMPROGRAMS\Korvex\Tamlo.lnk" "$INSTDIR\tamlo.exe"
  CreateShortcut "$SMPROGRAMS\Korvex\Удалить Korvex.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "Software\Classes\.rom" "" "${PROJECT_CLASS}"
  WriteRegStr HKLM "Software\Classes\${PROJECT_CLASS}" "" "Проект Korvex"
  WriteRegStr HKLM "Software\Classes\${PROJECT_CLASS}\DefaultIcon" "" "$INSTDIR\korvex.exe,0"
  WriteRegStr HKLM "Software\Classes\${PROJECT_CLASS}\shell\open\command" "" '"$INSTDIR\korvex.exe" "%1"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Korvex ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Korvex"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; Explorer learns of the new association at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Only what the installer put there: a folder the user chose may hold more.
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\translations"
  Delete "$INSTDIR\*.exe"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\qt.conf"
  RMDir "$INSTDIR"

  RMDir /r "$SMPROGRAMS\Korvex"
  ; .rom stays with whichever program took it over since.
  ReadRegStr $0 HKLM "Software\Classes\.rom" ""
  StrCmp $0 "${PROJECT_CLASS}" 0 +2
  DeleteRegKey HKLM "Software\Classes\.rom"
  DeleteRegKey HKLM "Software\Classes\${PROJECT_CLASS}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
