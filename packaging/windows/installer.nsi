; The Windows installer: per user, no elevation (the program's manifest is asInvoker).
; makensis -DSTAGE=<installed tree> -DOUTFILE=<setup.exe> [-DAMD64] installer.nsi
; AMD64 builds the x86_64 test build's installer, for machines that cannot run 32-bit code.
!ifndef STAGE | OUTFILE
  !error "define STAGE and OUTFILE"
!endif
!define VERSION 1.1.3.0
!define RUNKEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvanu"
!define SETTINGSKEY "Software\Tessary\Tolvanu"

Unicode true
!ifdef AMD64
  Target amd64-unicode
!endif
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

Name "Tolvanu"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tolvanu"
InstallDirRegKey HKCU "${UNINSTKEY}" "InstallLocation"
SetCompressor /SOLID lzma

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Tolvanu"
VIAddVersionKey /LANG=1033 "CompanyName" "Tessary"
VIAddVersionKey /LANG=1033 "FileDescription" "Tolvanu setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Tessary"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The Winamp folder: where Winamp says it is, else its usual place; empty when not found.
Var winamp

Function FindWinamp
  StrCpy $winamp ""
  ReadRegStr $0 HKCU "Software\Winamp" ""
  ${If} $0 == ""
    ReadRegStr $0 HKLM "Software\Winamp" ""
  ${EndIf}
  ${If} $0 == ""
    StrCpy $0 "$PROGRAMFILES32\Winamp"
  ${EndIf}
  ${If} ${FileExists} "$0\winamp.exe"
    StrCpy $winamp $0
  ${EndIf}
FunctionEnd

; A running hub holds its files: ask it to stop in order (its window's WM_CLOSE), then take
; its program file away as soon as the process lets go of it (bounded: 10 s each).
!macro CloseHub un
Function ${un}CloseHub
  FindWindow $0 "TolvanuConsole"
  ${If} $0 == 0
    Return
  ${EndIf}
  DetailPrint "Stopping the running Tolvanu"
  SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
  ${For} $1 1 100
    FindWindow $0 "TolvanuConsole"
    ${IfThen} $0 == 0 ${|} ${Break} ${|}
    Sleep 100
  ${Next}
  ${For} $1 1 100
    Delete "$INSTDIR\Tolvanu.exe"
    ${IfNotThen} ${FileExists} "$INSTDIR\Tolvanu.exe" ${|} ${Break} ${|}
    Sleep 100
  ${Next}
FunctionEnd
!macroend
!insertmacro CloseHub ""
!insertmacro CloseHub "un."

Section "Tolvanu" SecMain
  SectionIn RO
  SetShellVarContext current
  Call CloseHub
  SetOutPath "$INSTDIR"
  !include "${STAGE}\files.nsh"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Tolvanu"
  CreateShortcut "$SMPROGRAMS\Tolvanu\Tolvanu.lnk" "$INSTDIR\Tolvanu.exe"
  CreateShortcut "$SMPROGRAMS\Tolvanu\Uninstall Tolvanu.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "Tolvanu"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "Publisher" "Tessary"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\Tolvanu.exe"
  WriteRegStr HKCU "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1
SectionEnd

; The same value the program's own autostart item writes: the program's path, unquoted.
Section /o "Start with Windows" SecAutostart
  WriteRegStr HKCU "${RUNKEY}" "Tolvanu" "$INSTDIR\Tolvanu.exe"
SectionEnd

Section "Winamp component" SecWinamp
  Call FindWinamp
  ${If} $winamp == ""
    DetailPrint "Winamp not found: the component stays in $INSTDIR\winamp"
    Return
  ${EndIf}
  ClearErrors
  CreateDirectory "$winamp\System"
  CopyFiles /SILENT "$INSTDIR\winamp\Cordavelle_winamp.w5s" "$winamp\System"
  ${If} ${Errors}
    DetailPrint "Could not copy the component into $winamp\System: copy it there yourself"
  ${Else}
    WriteRegStr HKCU "${UNINSTKEY}" "WinampComponent" "$winamp\System\Cordavelle_winamp.w5s"
  ${EndIf}
SectionEnd

; Silent installs choose by command line: /AUTOSTART=1, /WINAMP=0.
Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == 1
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/WINAMP=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == 0
    !insertmacro UnselectSection ${SecWinamp}
  ${EndIf}
FunctionEnd

Section "un.Tolvanu" UnSecMain
  SectionIn RO
  SetShellVarContext current
  Call un.CloseHub
  DeleteRegValue HKCU "${RUNKEY}" "Tolvanu"
  ReadRegStr $0 HKCU "${UNINSTKEY}" "WinampComponent"
  ${If} $0 != ""
    Delete "$0"
  ${EndIf}
  !include "${STAGE}\unfiles.nsh"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tolvanu\Tolvanu.lnk"
  Delete "$SMPROGRAMS\Tolvanu\Uninstall Tolvanu.lnk"
  RMDir "$SMPROGRAMS\Tolvanu"
  DeleteRegKey HKCU "${UNINSTKEY}"
SectionEnd

; Kept unless asked: the security level and the devices let in.
Section /o "un.Remove my settings" UnSecSettings
  DeleteRegKey HKCU "${SETTINGSKEY}"
  DeleteRegKey /ifempty HKCU "Software\Tessary"
SectionEnd

; Silently: /REMOVESETTINGS=1.
Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == 1
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
