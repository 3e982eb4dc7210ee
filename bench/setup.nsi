; The peer installer of scripts/bench: the files setup.exe carries, stored
; uncompressed (as setup.exe stores them), with the registry values, service
; registrations and shortcuts of a server and user application installation.
;
;   makensis -DFILES=<folder with the files> -DOUT=<installer.exe> setup.nsi
Unicode true
SetCompress off
!ifndef FILES | OUT
  !error "usage: makensis -DFILES=folder -DOUT=installer.exe setup.nsi"
!endif

Name "quorvane"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES\Bsk\quorvane"
RequestExecutionLevel admin

Page directory
Page instfiles

Section
  SetOutPath "$INSTDIR"
  File "${FILES}\*.*"

  WriteRegStr HKLM "SOFTWARE\Bsk" "DisplayName" "Brantel Sukma Teknika"
  WriteRegStr HKLM "SOFTWARE\Bsk" "Id" "{9FCBC283-05D1-4C66-97AD-7616C7EB6D99}"
  WriteRegStr HKLM "SOFTWARE\Bsk\{A7C3B7DF-D3B6-4F34-A057-05CED05E35B1}" "DisplayName" "quorvane"
  WriteRegStr HKLM "SOFTWARE\Bsk\{A7C3B7DF-D3B6-4F34-A057-05CED05E35B1}\{75B90253-87A5-4A98-A65D-70539AC4749C}" \
    "Data" "DisplayName=quorvane Enterprise Server$\r$\nSource=$INSTDIR\msvc.exe$\r$\n"
  WriteRegStr HKLM "SOFTWARE\Bsk\{A7C3B7DF-D3B6-4F34-A057-05CED05E35B1}\{A0949F83-5A82-4FFA-83DB-569922E491BE}" \
    "Data" "DisplayName=quorvane Enterprise Control$\r$\nSource=$INSTDIR\zevman.exe$\r$\n"

  ; The services register themselves, as setup.exe has them do.
  ExecWait '"$INSTDIR\msvc.exe" /install /silent'
  ExecWait '"$INSTDIR\dsvc.exe" /install /silent'

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\quorvane"
  CreateShortCut "$SMPROGRAMS\quorvane\quorvane Enterprise Control.lnk" "$INSTDIR\zevman.exe"
  CreateShortCut "$DESKTOP\quorvane Enterprise Control.lnk" "$INSTDIR\zevman.exe"
SectionEnd
