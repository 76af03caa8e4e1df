; Installer and uninstaller of Orvane Sound, for one architecture.
;
; makensis -DARCH=x64|x86 -DBINDIR=<folder with the built files>
;          -DVERSIONNSH=<version.nsh of that build> -DOUTFILE=<setup.exe> orvane.nsi
;
; A per-user installation: no elevation, into the user's own programs folder,
; because the program keeps its settings file beside itself and a folder the
; user cannot write would lose every setting.

!if ${ARCH} == x64
  Target amd64-unicode
!else if ${ARCH} == x86
  Target x86-unicode
!else
  !error "ARCH must be x64 or x86"
!endif
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
AllowSkipFiles off

!include "${VERSIONNSH}"      ; ORVANE_PUBLISHER, ORVANE_COPYRIGHT
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Orvane Sound"
!define PROGRAM_EXE "Orvane Sound.exe"
!define SETTINGS_INI "Orvane Sound.ini"
!define UNINSTALLER "Uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

; The program is packaged once it is part of the build; until then the
; installer carries the library, the test sound and the optional tool.
!if /FileExists "${BINDIR}\${PROGRAM_EXE}"
  !define HAVE_PROGRAM
  !getdllversion "${BINDIR}\${PROGRAM_EXE}" VER_
!else
  !warning "${PROGRAM_EXE} is not in ${BINDIR}: packaging without the program"
  !getdllversion "${BINDIR}\CorrantApi.dll" VER_
!endif
!define VERSION "${VER_1}.${VER_2}.${VER_3}"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VER_1}.${VER_2}.${VER_3}.${VER_4}"
VIFileVersion "${VER_1}.${VER_2}.${VER_3}.${VER_4}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup (${ARCH})"
VIAddVersionKey /LANG=0 "CompanyName" "${ORVANE_PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${ORVANE_COPYRIGHT}"

!define MUI_ABORTWARNING
!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_CUSTOMFUNCTION_GUIINIT RefuseDroppedFolder
; The language chosen is kept in the uninstall key, which goes with the program.
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINST_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!ifdef HAVE_PROGRAM
  !define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM_EXE}"
!endif
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_RESERVEFILE_LANGDLL
!include /CHARSET=UTF8 "strings.nsh"

Var RemoveSettings   ; uninstall: 1 when the settings file goes too
Var Requested        ; the folder given with /D=, or ""

; Asks a running copy of the installed program to end the way a user's close
; would: WM_CLOSE to its panel, an unowned dialog window of a process whose
; file is $INSTDIR\Orvane Sound.exe. The panel saves its settings when it
; closes. Waits for each process to end; never ends one itself. Sets $0 to 1
; when every such copy has ended, 0 when one is still running after its wait.
!macro CLOSE_PROGRAM_FUNCTION UN
Function ${UN}CloseProgram
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $0 1
  StrCpy $5 "$INSTDIR\${PROGRAM_EXE}"
  ; A short name in the folder would not match the process's long path.
  System::Call 'kernel32::GetLongPathNameW(w r5, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
  ${If} $2 > 0
    StrCpy $5 $1
  ${EndIf}
  StrCpy $1 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r1, w "#32770", p 0) p .r1'
    ${If} $1 P= 0
      ${Break}
    ${EndIf}
    ; Message boxes and other windows the panel owns are not the panel.
    System::Call 'user32::GetWindow(p r1, i 4) p .r2'
    ${If} $2 P<> 0
      ${Continue}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x00101000, i 0, i r2) p .r2'
    ${If} $2 P= 0
      ${Continue}
    ${EndIf}
    System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i .r4'
    ${If} $4 <> 0
    ${AndIf} $3 == $5
      DetailPrint "Asking the running ${PRODUCT} to end"
      System::Call 'user32::PostMessageW(p r1, i ${WM_CLOSE}, p 0, p 0)'
      System::Call 'kernel32::WaitForSingleObject(p r2, i 15000) i .r4'
      ${If} $4 <> 0
        StrCpy $0 0
        System::Call 'kernel32::CloseHandle(p r2)'
        ${Break}
      ${EndIf}
      ; The window is gone: start the search again from the top.
      StrCpy $1 0
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r2)'
  ${Loop}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Ends a running copy, asking the user to end it by hand if it does not go.
; Aborts (exit code 2) when it is still running and the user cancels, or at
; once in a silent run.
Function ${UN}EndRunningProgram
retry:
  Call ${UN}CloseProgram
  ${If} $0 == 1
    Return
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(MsgStillRunning)" /SD IDCANCEL IDRETRY retry
  SetErrorLevel 2
  DetailPrint "$(MsgStillRunning)"
  Abort
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM_FUNCTION ""
!insertmacro CLOSE_PROGRAM_FUNCTION "un."

; Sets $1 to 1 when a file can be created in folder $0 (which may not exist
; yet), else 0. Folders this check created are removed again.
Function CheckWritable
  Push $2
  Push $3
  StrCpy $1 0
  StrCpy $3 ""
  ${IfNot} ${FileExists} "$0\*.*"
    ; Remember the first missing folder to remove what this check makes.
    StrCpy $3 $0
    ${Do}
      ${GetParent} $3 $2
      ${If} $2 == ""
      ${OrIf} ${FileExists} "$2\*.*"
        ${Break}
      ${EndIf}
      StrCpy $3 $2
    ${Loop}
    ClearErrors
    CreateDirectory $0
    ${If} ${Errors}
      Goto done
    ${EndIf}
  ${EndIf}
  ; A new file of a unique name, so that no file already there decides the answer.
  Push $4
  System::Call 'kernel32::GetTempFileNameW(w r0, w "orv", i 0, w .r2) i .r1'
  ${If} $1 <> 0
    StrCpy $1 0
    ClearErrors
    FileOpen $4 $2 w
    ${IfNot} ${Errors}
      FileWrite $4 "x"
      ${IfNot} ${Errors}
        StrCpy $1 1
      ${EndIf}
      FileClose $4
    ${EndIf}
    Delete $2
  ${EndIf}
  Pop $4
done:
  ${If} $3 != ""
    ; Remove the folders made here, innermost first, so that a user who goes
    ; back or cancels after the folder page finds nothing made; RMDir keeps
    ; any folder that is not empty. The installation makes them again.
    StrCpy $2 $0
    ${Do}
      RMDir $2
      ${If} $2 == $3
        ${Break}
      ${EndIf}
      ${GetParent} $2 $2
    ${Loop}
  ${EndIf}
  Pop $3
  Pop $2
FunctionEnd

Function DirectoryLeave
  StrCpy $0 $INSTDIR
  Call CheckWritable
  ${If} $1 == 0
    MessageBox MB_OK|MB_ICONSTOP "$(MsgNotWritable)"
    Abort
  ${EndIf}
FunctionEnd

Section "$(SecProgramName)" SecProgram
  SectionIn RO
  ; A folder given with /D= in a silent run has not been through the page.
  StrCpy $0 $INSTDIR
  Call CheckWritable
  ${If} $1 == 0
    MessageBox MB_OK|MB_ICONSTOP "$(MsgNotWritable)" /SD IDOK
    DetailPrint "$(MsgNotWritable)"
    SetErrorLevel 2
    Abort
  ${EndIf}
  Call EndRunningProgram

  ; The settings file is never part of the package, so an upgrade leaves it as it is.
  SetOutPath $INSTDIR
  SetOverwrite on
!ifdef HAVE_PROGRAM
  File "${BINDIR}\${PROGRAM_EXE}"
!endif
  File "${BINDIR}\CorrantApi.dll"
  File "${BINDIR}\ST.WAV"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

!ifdef HAVE_PROGRAM
  CreateShortCut "${SHORTCUT}" "$INSTDIR\${PROGRAM_EXE}" "" "$INSTDIR\${PROGRAM_EXE}" 0
  !define DISPLAY_ICON "$INSTDIR\${PROGRAM_EXE}"
!else
  !define DISPLAY_ICON "$INSTDIR\${UNINSTALLER}"
!endif
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${ORVANE_PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "${DISPLAY_ICON}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(SecToolName)" SecTool
  SetOutPath $INSTDIR
  File "${BINDIR}\corractl.exe"
SectionEnd

Section "-Finish"
  ; A tool unticked in an upgrade is taken away, not left behind.
  ${IfNot} ${SectionIsSelected} ${SecTool}
    Delete "$INSTDIR\corractl.exe"
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

; Sets $0 to the folder given with /D= on the command line, or "".
Function RequestedFolder
  Push $1
  Push $2
  Push $3
  Push $4
  System::Call 'kernel32::GetCommandLineW() w .r1'
  StrLen $2 $1
  StrCpy $3 0
  StrCpy $0 ""
  ${DoWhile} $3 < $2
    StrCpy $4 $1 4 $3
    ${If} $4 S== " /D="
      IntOp $3 $3 + 4
      StrCpy $0 $1 "" $3
      ${Break}
    ${EndIf}
    IntOp $3 $3 + 1
  ${Loop}
  ; The same folder as $INSTDIR shows it: no trailing separator.
  ${DoWhile} $0 != ""
    StrCpy $4 $0 1 -1
    ${If} $4 != "\"
      ${Break}
    ${EndIf}
    StrCpy $0 $0 -1
  ${Loop}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

Function RefuseDroppedFolder
  ${If} $Requested != ""
  ${AndIf} $Requested != $INSTDIR
    StrCpy $0 $Requested
    MessageBox MB_OK|MB_ICONSTOP "$(MsgNotWritable)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
  ; A /D= folder that cannot be a folder (a file is in its way) is dropped by
  ; the setup engine, which would then install into the default folder
  ; instead. Refuse rather than install elsewhere than asked; with pages, once
  ; the chosen language is in force.
  Call RequestedFolder
  StrCpy $Requested $0
  ${If} ${Silent}
    Call RefuseDroppedFolder
  ${EndIf}
  ; /CLI selects the command-line tool in a silent installation.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CLI" $1
  ${IfNot} ${Errors}
  ${OrIf} ${FileExists} "$INSTDIR\corractl.exe"
    SectionSetFlags ${SecTool} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

; Removes a Run value named after the program when it starts this installation's program.
!macro REMOVE_RUN_VALUE ROOT
  ReadRegStr $0 ${ROOT} "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == "$INSTDIR\${PROGRAM_EXE}"
  ${OrIf} $0 == '"$INSTDIR\${PROGRAM_EXE}"'
    DeleteRegValue ${ROOT} "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
!macroend

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
  ; /REMOVESETTINGS takes the settings file away without asking.
  StrCpy $RemoveSettings 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

; The uninstaller runs from a copy of itself in the temporary folder, which it
; cannot delete while it runs (and a standard user cannot have it deleted at
; the next restart): a hidden command removes that copy and its folder once
; the uninstaller has ended.
Function un.RemoveOwnCopy
  ${If} $EXEPATH != "$INSTDIR\${UNINSTALLER}"
    ; The command's working folder (the output path) must not be the one it removes.
    SetOutPath $TEMP
    ExecShell "" "$SYSDIR\cmd.exe" '/c ping -n 4 127.0.0.1 >nul & del /f /q "$EXEPATH" & rmdir "$EXEDIR"' SW_HIDE
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EndRunningProgram

  ${If} $RemoveSettings == 0
  ${AndIf} ${FileExists} "$INSTDIR\${SETTINGS_INI}"
    ; A silent uninstall keeps them.
    MessageBox MB_YESNO|MB_ICONQUESTION "$(MsgKeepSettings)" /SD IDYES IDYES keep
    StrCpy $RemoveSettings 1
  ${EndIf}
keep:

  Delete "$INSTDIR\${PROGRAM_EXE}"
  Delete "$INSTDIR\CorrantApi.dll"
  Delete "$INSTDIR\ST.WAV"
  Delete "$INSTDIR\corractl.exe"
  ${If} $RemoveSettings == 1
    Delete "$INSTDIR\${SETTINGS_INI}"
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only an empty folder goes: anything the user put there stays.
  RMDir "$INSTDIR"

  Delete "${SHORTCUT}"
  !insertmacro REMOVE_RUN_VALUE HKCU
  ; The machine-wide value goes only where the user may write it.
  !insertmacro REMOVE_RUN_VALUE HKLM
  DeleteRegKey HKCU "${UNINST_KEY}"
  ; Nothing is left to read on the last page: the window closes at once, so
  ; that the uninstaller has ended before its copy is removed.
  SetAutoClose true
  Call un.RemoveOwnCopy
SectionEnd
