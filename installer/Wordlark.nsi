; Wordlark's installer and uninstaller (64-bit, modern UI).
; makensis -DBINDIR=<folder of WL.exe and Tarnwick2.dll> -DAPPDIR=<src/app> -DICONDIR=<drawn icons>
;          -DOUTFILE=<setup.exe> [-DWORDNETDIR=<folder of wn.index and wn.dict.dz>] Wordlark.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; An administrator is asked for elevation and may install for anyone; anybody else installs just
; for themselves, which needs no rights.
RequestExecutionLevel highest
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include nsDialogs.nsh
; One solid stream: the plug-ins that start-up and the first pages call come at its start, or the
; installer would unpack the program and the English dictionary before it could show a page.
ReserveFile /plugin System.dll
ReserveFile /plugin UserInfo.dll
ReserveFile /plugin nsDialogs.dll

!define PRODUCT "Wordlark"
!define VERSION "2.0"
!define PUBLISHER "Orvane"
!define WEBSITE "http://www.orvane.com/wordlark"
!define SUPPORT "http://www.orvane.com/wordlark/support"
; Where the program finds its uninstaller; the name is kept for the program's sake.
!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\OrvaneWordlark_is1"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALLER "Uninstall.exe"
; Under HKEY_LOCAL_MACHINE for a copy that anyone may use, under HKEY_CURRENT_USER for one installed
; just for its user (SHCTX), as are the shortcuts in the matching Start menu.
!define SHORTCUTS "$SMPROGRAMS\${PRODUCT}"
; The English dictionary's folder beside the program, and the value of the uninstall key that keeps
; whether the user wanted it (1) or not (0) for the next update; an older copy has no such value.
!define DICTIONARIES "$INSTDIR\Dictionaries"
!define DICTIONARY_VALUE "EnglishDictionary"
; The running program's window; message 0x404 asks it to end.
!define FORM_CLASS "TConfigForm"
!define FORM_TITLE "Wordlark Configuration"
!define QUIT_REQUEST 0x404
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; No InstallDir: the folder follows the kind of installation (ChooseKind), unless "/D=" names it.
BrandingText "${PUBLISHER} ${PRODUCT} ${VERSION}"

VIProductVersion 2.0.0.0
VIFileVersion 2.0.0.0
VIAddVersionKey /LANG=1033 ProductName "${PRODUCT}"
VIAddVersionKey /LANG=1033 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1033 FileDescription "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 FileVersion "2.0.0.0"
VIAddVersionKey /LANG=1033 ProductVersion "2.0.0.0"
VIAddVersionKey /LANG=1033 LegalCopyright "Copyright (C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=1033 OriginalFilename "Wordlark-${VERSION}-setup.exe"

Var WasRunning
Var IsAdmin      ; 1: may install for anyone using this computer
Var PerUser      ; 1: just for the current user
Var FolderGiven  ; 1: "/D=" named the folder
Var KindGiven    ; 1: "/ALLUSERS" or "/CURRENTUSER" chose the kind
Var AllUsersRadio
Var CurrentUserRadio

!define MUI_ICON "${ICONDIR}/MainIcon.ico"
!define MUI_UNICON "${ICONDIR}/MainIcon.ico"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, which looks up the word or phrase that you select in almost any program on a web site, or in its English dictionary, at the press of a key.$\r$\n$\r$\nIf ${PRODUCT} is running, Setup ends it and starts the new version when it is done. Your hot keys and web links are kept.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME

!define MUI_PAGE_HEADER_TEXT "Read Me"
!define MUI_PAGE_HEADER_SUBTEXT "What ${PRODUCT} does and how to use it."
!define MUI_LICENSEPAGE_TEXT_TOP "Press Page Down to see the rest of the read-me."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "The read-me is installed with ${PRODUCT}: click $\"View instructions$\" on the Overview page of its configuration window. Click Next to continue."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${APPDIR}/readme.txt"

Page custom KindPage KindPageLeave
!insertmacro MUI_PAGE_DIRECTORY

!define MUI_PAGE_HEADER_TEXT "Options"
!define MUI_PAGE_HEADER_SUBTEXT "Choose what to install and how ${PRODUCT} starts."
!define MUI_COMPONENTSPAGE_TEXT_TOP "Check the options you want and click Install."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "Options:"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS

!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunWordlark
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\readme.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the read-me"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; "/S" is the installer's own silent switch; tools that manage installed software also pass
; "/SILENT" or "/VERYSILENT". Any other switch is ignored.
!macro HONOUR_SILENT_SWITCHES
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/SILENT" $R1
    ${IfNot} ${Errors}
        SetSilent silent
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/VERYSILENT" $R1
    ${IfNot} ${Errors}
        SetSilent silent
    ${EndIf}
    ClearErrors
!macroend

; Ends a running Wordlark as a newer copy of the program does, and waits (bounded) until its
; process has exited: the window goes first, but the program's files stay locked until the end.
; $WasRunning tells whether there was one.
!macro END_RUNNING_WORDLARK un
Function ${un}EndRunningWordlark
    StrCpy $WasRunning 0
    FindWindow $0 "${FORM_CLASS}" "${FORM_TITLE}"
    ${If} $0 == 0
        Return
    ${EndIf}
    StrCpy $WasRunning 1
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1) i"
    System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2"
    System::Call "user32::PostMessageW(p r0, i ${QUIT_REQUEST}, p 0, p 0)"
    StrCpy $3 0
    ${Do}
        System::Call "user32::IsWindow(p r0) i .r4"
        ${If} $4 == 0
        ${OrIf} $3 >= 100
            ${ExitDo}
        ${EndIf}
        Sleep 100
        IntOp $3 $3 + 1
    ${Loop}
    ${If} $2 != 0
        System::Call "kernel32::WaitForSingleObject(p r2, i 10000) i"
        System::Call "kernel32::CloseHandle(p r2)"
    ${EndIf}
FunctionEnd
!macroend
!insertmacro END_RUNNING_WORDLARK ""
!insertmacro END_RUNNING_WORDLARK "un."

; Programs that received keys while Wordlark ran may keep the old hook library loaded for a while.
; Windows lets a loaded library be renamed but not replaced: it moves aside and goes at restart.
Function MoveAsideLoadedLibrary
    ${IfNot} ${FileExists} "$INSTDIR\Tarnwick2.dll"
        Return
    ${EndIf}
    ClearErrors
    Delete "$INSTDIR\Tarnwick2.dll"
    ${If} ${Errors}
        Delete /REBOOTOK "$INSTDIR\Tarnwick2.dll.old"
        Rename "$INSTDIR\Tarnwick2.dll" "$INSTDIR\Tarnwick2.dll.old"
        Delete /REBOOTOK "$INSTDIR\Tarnwick2.dll.old"
    ${EndIf}
FunctionEnd

Section "${PRODUCT}" SecProgram
    SectionIn RO
    Call EndRunningWordlark
    Call MoveAsideLoadedLibrary
    ; Nothing reaches the registry unless every file is in place.
    ClearErrors
    SetOutPath "$INSTDIR"
    File "${BINDIR}/WL.exe"
    File "${BINDIR}/Tarnwick2.dll"
    File "${APPDIR}/help/WL-*.html"
    File "${APPDIR}/readme.txt"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "Setup cannot write the files of ${PRODUCT} into$\r$\n$INSTDIR.$\r$\n$\r$\nChoose a folder that you may write to, or end the program that uses the files, and run Setup again." /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
SectionEnd

!ifdef WORDNETDIR
; WordNet 3.0 of Princeton University as dictd files, which the program lists at its first start;
; its licence goes with every copy.
Section "English dictionary (WordNet 3.0)" SecWordNet
    SetOutPath "${DICTIONARIES}"
    File "${WORDNETDIR}/wn.index"
    File "${WORDNETDIR}/wn.dict.dz"
    File "${APPDIR}/WordNet-license.txt"
    SetOutPath "$INSTDIR"
SectionEnd
!endif

; Only the files that Setup put there: a dictionary that the user added to the folder stays, and so
; does the folder then.
!macro REMOVE_DICTIONARY
    Delete "${DICTIONARIES}\wn.index"
    Delete "${DICTIONARIES}\wn.dict.dz"
    Delete "${DICTIONARIES}\WordNet-license.txt"
    RMDir "${DICTIONARIES}"
!macroend

Section "Start ${PRODUCT} when Windows starts" SecLogon
    WriteRegStr SHCTX "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\WL.exe"'
SectionEnd

Section "Start menu shortcuts" SecShortcuts
    CreateDirectory "${SHORTCUTS}"
    CreateShortCut "${SHORTCUTS}\${PRODUCT}.lnk" "$INSTDIR\WL.exe"
    CreateShortCut "${SHORTCUTS}\${PRODUCT} Read Me.lnk" "$INSTDIR\readme.txt"
    CreateShortCut "${SHORTCUTS}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}"
SectionEnd

!macro REMOVE_SHORTCUTS
    Delete "${SHORTCUTS}\${PRODUCT}.lnk"
    Delete "${SHORTCUTS}\${PRODUCT} Read Me.lnk"
    Delete "${SHORTCUTS}\Uninstall ${PRODUCT}.lnk"
    RMDir "${SHORTCUTS}"
!macroend

Section "-Register"
    ; An update honours options that were switched off this time.
    ${IfNot} ${SectionIsSelected} ${SecLogon}
        DeleteRegValue SHCTX "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
    ${IfNot} ${SectionIsSelected} ${SecShortcuts}
        !insertmacro REMOVE_SHORTCUTS
    ${EndIf}
!ifdef WORDNETDIR
    ${If} ${SectionIsSelected} ${SecWordNet}
        WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "${DICTIONARY_VALUE}" 1
    ${Else}
        !insertmacro REMOVE_DICTIONARY
        WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "${DICTIONARY_VALUE}" 0
    ${EndIf}
!endif

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\WL.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${WEBSITE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "HelpLink" "${SUPPORT}"
    ; The program takes this value whole as a file path once its quotes are removed: no arguments.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /SILENT'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; An update never leaves the user without the program, silent or not.
    ${If} $WasRunning == 1
        Call StartWordlark
    ${EndIf}
SectionEnd

; Setup runs elevated, and a program that it started directly would too: the hook's messages from
; programs of lower integrity could not reach its window, and an administrator's credentials given
; for Setup would make it run as that administrator. The shell starts it as the logged-on user.
Function StartWordlark
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\WL.exe"'
FunctionEnd

Function RunWordlark
    ${If} $WasRunning != 1
        Call StartWordlark
    ${EndIf}
FunctionEnd

; The kind of installation in $0 (1: just for the current user) sets the registry root and Start
; menu that the sections write to, the folder unless "/D=" named one, and the options of a copy of
; that kind that is already installed.
Function ChooseKind
    StrCpy $PerUser $0
    ${If} $PerUser == 1
        SetShellVarContext current
    ${Else}
        SetShellVarContext all
    ${EndIf}
    ${If} $FolderGiven != 1
        ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${EndIf}
    ${If} $INSTDIR == ""
    ${AndIf} $PerUser == 1
        ; Built from the folder rather than asked of the shell, which does not know it everywhere.
        StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${ElseIf} $INSTDIR == ""
        StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
    ; Over an installed copy, options that the user switched off stay off.
    !insertmacro SelectSection ${SecLogon}
    !insertmacro SelectSection ${SecShortcuts}
!ifdef WORDNETDIR
    !insertmacro SelectSection ${SecWordNet}
!endif
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "UninstallString"
    ${If} $1 != ""
!ifdef WORDNETDIR
        ; A copy from before the dictionary came with the program gets it, as a new one does.
        ReadRegDWORD $1 SHCTX "${UNINSTALL_KEY}" "${DICTIONARY_VALUE}"
        ${If} $1 == "0"
            !insertmacro UnselectSection ${SecWordNet}
        ${EndIf}
!endif
        ReadRegStr $1 SHCTX "${RUN_KEY}" "${PRODUCT}"
        ${If} $1 == ""
            !insertmacro UnselectSection ${SecLogon}
        ${EndIf}
        ${IfNot} ${FileExists} "${SHORTCUTS}\${PRODUCT}.lnk"
            !insertmacro UnselectSection ${SecShortcuts}
        ${EndIf}
    ${EndIf}
FunctionEnd

; Not shown when the command line chose already: a kind switch that could be honoured, or a
; folder, which the kind would not move.
Function KindPage
    ${If} $KindGiven == 1
    ${OrIf} $FolderGiven == 1
        Abort
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "Choose Users" "Choose for whom to install ${PRODUCT}."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateRadioButton} 0 0 100% 12u "Install for &anyone using this computer"
    Pop $AllUsersRadio
    ${NSD_CreateLabel} 12u 13u -12u 18u "Into $\"$PROGRAMFILES64\${PRODUCT}$\"; needs administrator rights."
    Pop $0
    ${NSD_CreateRadioButton} 0 36u 100% 12u "Install just for &me"
    Pop $CurrentUserRadio
    ${NSD_CreateLabel} 12u 49u -12u 18u "Into your own folder; only you can use ${PRODUCT}. Needs no administrator rights."
    Pop $0
    ${If} $IsAdmin != 1
        EnableWindow $AllUsersRadio 0
        ${NSD_CreateLabel} 0 80u 100% 18u "You are not an administrator of this computer, so ${PRODUCT} can be installed just for you."
        Pop $0
    ${EndIf}
    ${If} $PerUser == 1
        ${NSD_Check} $CurrentUserRadio
    ${Else}
        ${NSD_Check} $AllUsersRadio
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function KindPageLeave
    ${NSD_GetState} $CurrentUserRadio $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $0 1
    ${Else}
        StrCpy $0 0
    ${EndIf}
    Call ChooseKind
FunctionEnd

Function .onInit
    SetRegView 64
    !insertmacro HONOUR_SILENT_SWITCHES
    StrCpy $FolderGiven 0
    StrCpy $KindGiven 0
    ${If} $INSTDIR != ""
        StrCpy $FolderGiven 1
    ${EndIf}
    StrCpy $IsAdmin 0
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        StrCpy $IsAdmin 1
    ${EndIf}

    ; Without a switch an administrator updates a copy installed for anyone, else one installed
    ; just for them, else installs for anyone; anybody else installs just for themselves. A folder
    ; named by "/D=" other than that of the copy installed just for them is not an update of it:
    ; its entry would name the new folder and leave its files behind.
    StrCpy $0 1
    ${If} $IsAdmin == 1
        ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "UninstallString"
        ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "UninstallString"
        ReadRegStr $3 HKCU "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $FolderGiven == 1
        ${AndIf} $INSTDIR != $3
            StrCpy $2 ""
        ${EndIf}
        ${If} $1 != ""
        ${OrIf} $2 == ""
            StrCpy $0 0
        ${EndIf}
    ${EndIf}
    ; "/CURRENTUSER" needs no rights and wins over "/ALLUSERS".
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/CURRENTUSER" $R1
    ${IfNot} ${Errors}
        StrCpy $0 1
        StrCpy $KindGiven 1
    ${Else}
        ClearErrors
        ${GetOptions} $R0 "/ALLUSERS" $R1
        ${If} ${Errors}
        ${ElseIf} $IsAdmin == 1
            StrCpy $0 0
            StrCpy $KindGiven 1
        ${ElseIf} ${Silent}
            SetErrorLevel 5 ; ERROR_ACCESS_DENIED
            Quit
        ${Else}
            MessageBox MB_OK|MB_ICONINFORMATION "Installing ${PRODUCT} for anyone using this computer needs administrator rights.$\r$\n$\r$\nYou can install it just for yourself."
        ${EndIf}
    ${EndIf}
    Call ChooseKind
FunctionEnd

; The uninstaller removes the copy that it sits in: one installed just for a user if that user's
; entry names its folder, else the one installed for anyone.
Function un.onInit
    SetRegView 64
    !insertmacro HONOUR_SILENT_SWITCHES
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        SetShellVarContext current
    ${Else}
        SetShellVarContext all
    ${EndIf}
FunctionEnd

; Removes what Setup installed and registered, also when the files were deleted by hand; the user's
; settings under HKEY_CURRENT_USER stay for a later installation, and an uninstaller of a copy
; installed just for a user never touches HKEY_LOCAL_MACHINE.
Section "Uninstall"
    Call un.EndRunningWordlark
    Delete /REBOOTOK "$INSTDIR\WL.exe"
    Delete /REBOOTOK "$INSTDIR\Tarnwick2.dll"
    Delete /REBOOTOK "$INSTDIR\Tarnwick2.dll.old"
    Delete "$INSTDIR\WL-*.html"
    Delete "$INSTDIR\readme.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    !insertmacro REMOVE_DICTIONARY
    !insertmacro REMOVE_SHORTCUTS
    DeleteRegValue SHCTX "${RUN_KEY}" "${PRODUCT}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    RMDir /REBOOTOK "$INSTDIR"
    ${If} ${RebootFlag}
        MessageBox MB_OK|MB_ICONINFORMATION "Some files of ${PRODUCT} are still in use by other programs. They will be removed when you restart Windows." /SD IDOK
    ${EndIf}
SectionEnd
