; The station's installer. dist/make-dist defines VERSION (as the program
; shows it), VERSION_NUMBERS (four numbers), TARGET (x86-ansi for the 32-bit
; build, which also runs on the Windows 95 family; amd64-unicode for the
; 64-bit one), STAGE (the folder holding the stripped files) and OUTFILE.
;
; It puts the program, its DLL and the read-me into one folder under Program
; Files, a shortcut into the Start menu and an uninstaller into Add/Remove
; Programs, and offers the station in "Open with" for the types it plays
; without taking any type's default: the application entry that Windows 98,
; 2000 and later read (HKCR\Applications\sbay32.exe, its open verb and its
; supported types) and, for Windows XP and later, an entry in each type's
; OpenWithList. On Windows 95, which reads neither, the station is reached
; through its shortcut and drops. The uninstaller removes exactly those,
; a type's key or OpenWithList only when the installer made it and no other
; program has put a key of its own into it since. SONIKBAY.INI, which keeps
; the user's disc names and playlists, lives in the Windows directory and is
; never touched.

Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!define PRODUCT "sonikbay32"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define APP_KEY "Applications\sbay32.exe"

; Registers one type: its OpenWithList entry, and in the uninstall key what
; the installer made for it (1: the type's key, 2: its OpenWithList), kept
; from the first installation when the station is installed again.
!macro OpenWithType EXT
    ClearErrors
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "OpenWith${EXT}"
    IfErrors 0 made_known_${EXT}
    StrCpy $1 0
    ClearErrors
    EnumRegKey $0 HKCR "${EXT}" 0
    IfErrors 0 +2
    IntOp $1 $1 | 1
    ClearErrors
    EnumRegKey $0 HKCR "${EXT}\OpenWithList" 0
    IfErrors 0 +2
    IntOp $1 $1 | 2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "OpenWith${EXT}" $1
made_known_${EXT}:
    WriteRegStr HKCR "${APP_KEY}\SupportedTypes" "${EXT}" ""
    WriteRegStr HKCR "${EXT}\OpenWithList\sbay32.exe" "" ""
!macroend

; Takes the type's entry out again, and the keys the installer made for it
; when no other key is in them.
!macro UnOpenWithType EXT
    DeleteRegKey HKCR "${EXT}\OpenWithList\sbay32.exe"
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "OpenWith${EXT}"
    IntOp $2 $1 & 2
    IntCmp $2 0 +2
    DeleteRegKey /ifempty HKCR "${EXT}\OpenWithList"
    IntOp $2 $1 & 1
    IntCmp $2 0 +2
    DeleteRegKey /ifempty HKCR "${EXT}"
!macroend

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
    ; "Open with": the types of the design, the ones the platform's own
    ; devices commonly play and the playlist files the station reads.
    WriteRegStr HKCR "${APP_KEY}" "FriendlyAppName" "${PRODUCT}"
    WriteRegStr HKCR "${APP_KEY}\shell\open\command" "" '"$INSTDIR\sbay32.exe" "%1"'
    !insertmacro OpenWithType .mid
    !insertmacro OpenWithType .midi
    !insertmacro OpenWithType .rmi
    !insertmacro OpenWithType .wav
    !insertmacro OpenWithType .avi
    !insertmacro OpenWithType .mp3
    !insertmacro OpenWithType .mpg
    !insertmacro OpenWithType .mpeg
    !insertmacro OpenWithType .m3u
    !insertmacro OpenWithType .m3u8
    !insertmacro OpenWithType .pls
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
    !insertmacro UnOpenWithType .mid
    !insertmacro UnOpenWithType .midi
    !insertmacro UnOpenWithType .rmi
    !insertmacro UnOpenWithType .wav
    !insertmacro UnOpenWithType .avi
    !insertmacro UnOpenWithType .mp3
    !insertmacro UnOpenWithType .mpg
    !insertmacro UnOpenWithType .mpeg
    !insertmacro UnOpenWithType .m3u
    !insertmacro UnOpenWithType .m3u8
    !insertmacro UnOpenWithType .pls
    DeleteRegKey HKCR "${APP_KEY}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
