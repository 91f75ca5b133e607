; Installer for the LumoMarker plug-in: puts gen_lumo.dll and its release notes into the
; Plugins folder of an installed Winamp and registers an uninstaller for the current user.
;
; Built by CMake:
;   makensis -DDLL=<gen_lumo.dll> -DNOTES=<gen_lumo.txt> -DOUTFILE=<setup.exe>
;            [-DNOTES_PAGE=<text>] [-DEXPECTED_VERSION=<a.b.c.d>] lumomarker.nsi
; All paths absolute (makensis works in the script's folder). NOTES is installed; NOTES_PAGE,
; by default NOTES, is what the release notes page shows.
; The version shown everywhere is read from the DLL's own version resource; EXPECTED_VERSION,
; when given, makes the build fail if the DLL carries another one.
;
; Silent mode (/S) exit codes: 0 installed, 2 the folder holds no winamp.exe, 3 Winamp is
; running. In the two refusals nothing is written. The uninstaller, in the Plugins folder, exits
; with 3 in silent mode while Winamp runs and then removes nothing.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel highest
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"

!ifndef DLL
  !error "define DLL: the gen_lumo.dll to install"
!endif
!ifndef NOTES
  !error "define NOTES: the gen_lumo.txt to install"
!endif
!ifndef OUTFILE
  !error "define OUTFILE: the setup program to write"
!endif
!ifndef NOTES_PAGE
  !define NOTES_PAGE "${NOTES}"
!endif

!getdllversion "${DLL}" DllVersion_
!define VERSION "${DllVersion_1}.${DllVersion_2}.${DllVersion_3}.${DllVersion_4}"
!ifdef EXPECTED_VERSION
  !if "${VERSION}" != "${EXPECTED_VERSION}"
    !error "${DLL} carries version ${VERSION}, the build expects ${EXPECTED_VERSION}"
  !endif
!endif

!define PRODUCT "LumoMarker"
!define PLAYER_WINDOW_CLASS "Winamp v1.x"
!define UNINSTALLER "lumomarker-uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\LumoMarker"
!define EXIT_NO_PLAYER 2
!define EXIT_PLAYER_RUNNING 3

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
; The player's own folder, as Winamp records it; $INSTDIR is the player folder and the plug-in
; goes into its Plugins subfolder.
InstallDir "$PROGRAMFILES\Winamp"
InstallDirRegKey HKCU "Software\Winamp" ""

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} plug-in for Winamp - setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "(c) ${PRODUCT}"

; Recovery sheets that the plug-in leaves in the Plugins folder, listed for the finish page.
Var KeptSheets

!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING

; Installer pages
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, the cue sheet plug-in, into the Plugins folder of your Winamp.$\r$\n$\r$\nClose Winamp before you continue.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME

!define MUI_PAGE_HEADER_TEXT "Release notes"
!define MUI_PAGE_HEADER_SUBTEXT "What is new in ${PRODUCT} ${VERSION}."
!define MUI_LICENSEPAGE_TEXT_TOP "Press Page Down to read the rest of the notes."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "These notes are also installed beside the plug-in and shown on its About tab."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${NOTES_PAGE}"

!define MUI_PAGE_HEADER_TEXT "Choose the Winamp folder"
!define MUI_PAGE_HEADER_SUBTEXT "The plug-in goes into the Plugins folder of your Winamp."
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup will install ${PRODUCT} into the Plugins folder of the Winamp installation below. To use another Winamp, click Browse and select the folder that holds winamp.exe."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Winamp folder"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY

!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed in $INSTDIR\Plugins.$\r$\n$\r$\nStart Winamp, open Preferences > Global Hotkeys and assign a key to the action $\"LUMO: ON$\". Press it at each track boundary while a recording plays."
!insertmacro MUI_PAGE_FINISH

; Uninstaller pages
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE un.ConfirmLeave
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} has been removed from $INSTDIR.$KeptSheets"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

; Asks the user to close Winamp until its main window is gone. Leaves 1 on the stack when the
; player is closed, 0 when the user gave up. In silent mode it exits at once with code 3.
!macro PLAYER_CLOSED_FUNCTION PREFIX
Function ${PREFIX}PlayerClosed
  Push $0
  ${Do}
    FindWindow $0 "${PLAYER_WINDOW_CLASS}"
    ${If} $0 = 0
      Pop $0
      Push 1
      Return
    ${EndIf}
    ${If} ${Silent}
      SetErrorLevel ${EXIT_PLAYER_RUNNING}
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Winamp is running.$\r$\n$\r$\nClose Winamp, then click Retry." IDRETRY retry
    Pop $0
    Push 0
    Return
  retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro PLAYER_CLOSED_FUNCTION ""
!insertmacro PLAYER_CLOSED_FUNCTION "un."

Function .onInit
  ${If} ${Silent}
    ; No page runs in silent mode: refuse here, before anything is written.
    ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
      SetErrorLevel ${EXIT_NO_PLAYER}
      Quit
    ${EndIf}
    Call PlayerClosed
    Pop $0
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
    MessageBox MB_OK|MB_ICONEXCLAMATION "This folder does not hold Winamp:$\r$\n$INSTDIR\winamp.exe was not found.$\r$\n$\r$\nChoose the folder where Winamp is installed."
    Abort
  ${EndIf}
  Call PlayerClosed
  Pop $0
  ${If} $0 = 0
    Abort
  ${EndIf}
FunctionEnd

; Size of a file in bytes, or 0 when it cannot be opened. Call with the path on the stack;
; leaves the size on the stack.
Function FileSize
  Exch $0
  Push $1
  FileOpen $1 $0 r
  ${If} $1 == ""
    StrCpy $0 0
  ${Else}
    FileSeek $1 0 END $0
    FileClose $1
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

Section "LumoMarker" SecPlugin
  SectionIn RO
  SetOutPath "$INSTDIR\Plugins"
  ; An upgrade overwrites only these two files: plugin.ini and the recovery sheets beside them
  ; stay as they are.
  SetOverwrite on
  File "/oname=gen_lumo.dll" "${DLL}"
  File "/oname=gen_lumo.txt" "${NOTES}"
  WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER}"

  ; What the entry in the list of installed programs shows as the size: the three files, in KB.
  Push "$INSTDIR\Plugins\gen_lumo.dll"
  Call FileSize
  Pop $0
  Push "$INSTDIR\Plugins\gen_lumo.txt"
  Call FileSize
  Pop $1
  IntOp $0 $0 + $1
  Push "$INSTDIR\Plugins\${UNINSTALLER}"
  Call FileSize
  Pop $1
  IntOp $0 $0 + $1
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\Plugins"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; ---------------------------------------------------------------------------------------------
; Uninstaller. It lives in the Plugins folder, so there $INSTDIR is the Plugins folder.

Function un.onInit
  ${If} ${Silent}
    Call un.PlayerClosed
    Pop $0
  ${EndIf}
FunctionEnd

Function un.ConfirmLeave
  Call un.PlayerClosed
  Pop $0
  ${If} $0 = 0
    Abort
  ${EndIf}
FunctionEnd

; Leaves 1 on the stack when the line just read ($5) opens a section, else 0; with 1, also the
; section's name with its surrounding blanks removed. A section line is, after leading blanks,
; "[" name "]" with anything after it, as the profile functions read it.
Function un.SectionName
  Push $0  ; index
  Push $1  ; character
  Push $2  ; start of the name
  StrCpy $0 0
  ${Do}
    StrCpy $1 $5 1 $0
    ${If} $1 == " "
    ${OrIf} $1 == "$\t"
      IntOp $0 $0 + 1
    ${Else}
      ${Break}
    ${EndIf}
  ${Loop}
  ${If} $1 != "["
    Pop $2
    Pop $1
    Pop $0
    Push 0
    Return
  ${EndIf}
  IntOp $0 $0 + 1
  StrCpy $2 $0
  ${Do}
    StrCpy $1 $5 1 $0
    ${If} $1 == "]"
      ${Break}
    ${ElseIf} $1 == ""
    ${OrIf} $1 == "$\r"
    ${OrIf} $1 == "$\n"
      Pop $2
      Pop $1
      Pop $0
      Push 0
      Return
    ${EndIf}
    IntOp $0 $0 + 1
  ${Loop}
  IntOp $0 $0 - $2
  StrCpy $1 $5 $0 $2
  ; Trim blanks at both ends of the name.
  ${Do}
    StrCpy $0 $1 1
    ${If} $0 == " "
    ${OrIf} $0 == "$\t"
      StrCpy $1 $1 "" 1
    ${Else}
      ${Break}
    ${EndIf}
  ${Loop}
  ${Do}
    StrCpy $0 $1 1 -1
    ${If} $0 == " "
    ${OrIf} $0 == "$\t"
      StrCpy $1 $1 -1
    ${Else}
      ${Break}
    ${EndIf}
  ${Loop}
  StrCpy $0 $1
  Pop $2
  Pop $1
  Exch $0
  Push 1
FunctionEnd

; Removes the [LUMO] section (its header and every line up to the next section) from
; plugin.ini, leaving every other byte as it was: line endings, blanks, comments and text in any
; code page. The profile functions cannot do this, since they rewrite the file in their own
; form. Lines are found with FileRead and copied with FileReadByte/FileWriteByte; FileRead only
; decides where a line starts and ends. A file left empty is deleted.
Function un.RemoveLumoSection
  Push $0  ; plugin.ini, read
  Push $1  ; the new copy, written
  Push $2  ; scratch
  Push $3  ; where the current line starts
  Push $4  ; 1 while inside [LUMO]
  Push $5  ; the line as text
  Push $6  ; bytes dropped
  Push $7  ; bytes kept
  Push $8  ; where the current line ends
  Push $9  ; 1 when the next read starts a new line
  Push $R0
  Push $R1
  Push $R2 ; a byte

  StrCpy $R0 "$INSTDIR\plugin.ini"
  StrCpy $R1 "$INSTDIR\plugin.ini.lumo-new"
  ${IfNot} ${FileExists} $R0
    Goto done
  ${EndIf}
  ClearErrors
  FileOpen $0 $R0 r
  ${If} ${Errors}
    DetailPrint "Cannot read $R0: its [LUMO] section stays."
    Goto done
  ${EndIf}
  ClearErrors
  FileOpen $1 $R1 w
  ${If} ${Errors}
    FileClose $0
    DetailPrint "Cannot write $R1: the [LUMO] section of $R0 stays."
    Goto done
  ${EndIf}

  StrCpy $4 0
  StrCpy $6 0
  StrCpy $7 0
  StrCpy $9 1
  ${Do}
    FileSeek $0 0 CUR $3
    ClearErrors
    FileRead $0 $5
    ${If} ${Errors}
      ${Break}
    ${EndIf}
    FileSeek $0 0 CUR $8
    ; A line longer than FileRead's buffer arrives in pieces: only a line's first piece can
    ; open a section, the others follow the decision taken for it.
    ${If} $9 = 1
      Call un.SectionName
      Pop $2
      ${If} $2 = 1
        Pop $2
        ${If} $2 == "LUMO"
          StrCpy $4 1
        ${Else}
          StrCpy $4 0
        ${EndIf}
      ${EndIf}
    ${EndIf}
    StrCpy $2 $5 1 -1
    ${If} $2 == "$\n"
    ${OrIf} $2 == "$\r"
      StrCpy $9 1
    ${Else}
      StrCpy $9 0
    ${EndIf}

    IntOp $2 $8 - $3
    ${If} $4 = 1
      IntOp $6 $6 + $2
    ${Else}
      IntOp $7 $7 + $2
      FileSeek $0 $3 SET
      ${For} $5 1 $2
        FileReadByte $0 $R2
        FileWriteByte $1 $R2
      ${Next}
    ${EndIf}
  ${Loop}
  FileClose $0
  FileClose $1

  ${If} $6 = 0
    Delete $R1
  ${ElseIf} $7 = 0
    Delete $R1
    Delete $R0
    DetailPrint "Deleted $R0, which held nothing but the [LUMO] section."
  ${Else}
    ClearErrors
    Delete $R0
    Rename $R1 $R0
    ${If} ${Errors}
      Delete $R1
      DetailPrint "Cannot replace $R0: its [LUMO] section stays."
    ${Else}
      DetailPrint "Removed the [LUMO] section from $R0."
    ${EndIf}
  ${EndIf}

done:
  Pop $R2
  Pop $R1
  Pop $R0
  Pop $9
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Adds the recovery sheets (lumo_unsaved*.cue) in the folder $R0 to $KeptSheets, one a line,
; counting them in $2.
Function un.ListSheetsIn
  Push $0
  Push $1
  FindFirst $0 $1 "$R0\lumo_unsaved*.cue"
  ${DoWhile} $1 != ""
    StrCpy $KeptSheets "$KeptSheets$\r$\n$R0\$1"
    DetailPrint "Kept the unsaved cue sheet $R0\$1"
    IntOp $2 $2 + 1
    FindNext $0 $1
  ${Loop}
  FindClose $0
  Pop $1
  Pop $0
FunctionEnd

; Lists the recovery sheets the plug-in left in $KeptSheets for the finish page: beside
; plugin.ini, and in the user's application-data folder, where they go when the Plugins folder
; cannot be written. They are the user's unsaved work: the uninstaller never deletes them.
Function un.ListKeptSheets
  Push $R0
  Push $2  ; how many
  StrCpy $KeptSheets ""
  StrCpy $2 0
  StrCpy $R0 "$INSTDIR"
  Call un.ListSheetsIn
  StrCpy $R0 "$APPDATA\LumoMarker"
  Call un.ListSheetsIn
  ${If} $2 = 1
    StrCpy $KeptSheets "$\r$\n$\r$\nYour unsaved cue sheet was kept:$KeptSheets"
  ${ElseIf} $2 > 1
    StrCpy $KeptSheets "$\r$\n$\r$\nYour unsaved cue sheets were kept:$KeptSheets"
  ${EndIf}
  Pop $2
  Pop $R0
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\gen_lumo.dll"
  Delete "$INSTDIR\gen_lumo.txt"
  Call un.RemoveLumoSection
  ; The settings the plug-in kept for itself where plugin.ini could not be written.
  Delete "$APPDATA\LumoMarker\plugin.ini"
  Call un.ListKeptSheets

  ; The entry names one uninstaller; after an install into another Winamp it is that one's,
  ; and stays.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 == '"$INSTDIR\${UNINSTALLER}"'
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}

  ; Last, so that once the uninstaller is gone everything else is done too.
  Delete "$INSTDIR\${UNINSTALLER}"
SectionEnd
