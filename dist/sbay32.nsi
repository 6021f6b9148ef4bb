; The station's installer. dist/make-dist defines VERSION (as the program
; shows it), VERSION_NUMBERS (four numbers), TARGET (x86-ansi for the 32-bit
; build, which also runs on the Windows 95 family; amd64-unicode for the
; 64-bit one), STAGE (the folder holding the stripped files) and OUTFILE.
;
; It puts the program, its DLL and the read-me into one folder under Program
; Files, a shortcut into the Start menu and an uninstaller into Add/Remove
; Programs. The uninstaller removes exactly those. SONIKBAY.INI, which keeps
; the user's disc names and playlists, lives in the Windows directory and is
; never touched.

Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!define PRODUCT "sonikbay32"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
!if ${TARGET} == amd64-unicode
InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion ${VERSION_NUMBERS}
VIFileVersion ${VERSION_NUMBERS}
VIAddVersionKey /LANG=1033 ProductName "${PRODUCT}"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 LegalCopyright ""

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
!if ${TARGET} == amd64-unicode
    SetRegView 64
!endif
    ; The station needs the C run-time library MSVCRT.DLL, which Windows 98,
    ; NT 4.0 and every later Windows have and the first Windows 95 lacks.
    ; Asked, the user may install all the same; a silent installation stops
    ; (exit code 2) and installs nothing.
    IfFileExists "$SYSDIR\msvcrt.dll" runtime_found
    MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 \
        "${PRODUCT} needs the Microsoft C run-time library MSVCRT.DLL, which this Windows does not have in $SYSDIR.$\r$\n$\r$\nInstall Microsoft's Visual C++ 6.0 run-time redistributable (VC6RedistSetup_enu.exe, Knowledge Base article Q259403) first; README.TXT says more.$\r$\n$\r$\nInstall ${PRODUCT} anyway?" \
        /SD IDNO IDYES runtime_found
    Abort
runtime_found:
FunctionEnd

Function un.onInit
!if ${TARGET} == amd64-unicode
    SetRegView 64
!endif
FunctionEnd

Section
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\sbay32.exe"
    File "${STAGE}\panekit32.dll"
    File "${STAGE}\README.TXT"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\sbay32.exe" "" "$INSTDIR\sbay32.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\sbay32.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$INSTDIR\sbay32.exe"
    Delete "$INSTDIR\panekit32.dll"
    Delete "$INSTDIR\README.TXT"
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: whatever the user put there stays.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
