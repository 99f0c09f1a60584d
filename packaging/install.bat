@echo off
rem Installs Vantor for the current user, without administrator rights:
rem copies the program into %LOCALAPPDATA%\Programs\Vantor and puts that
rem folder on the user's Path, so that "c" works in every console window
rem opened afterwards, in cmd (c.bat) and in PowerShell (c.ps1, with tab
rem completion from c-completion.ps1). Run again, it only copies the files
rem again.
rem
rem The Path is edited by vantor-path.exe, not by this file: cmd would
rem mangle percent signs and long values, and setx cuts them short.
setlocal
rem Started by a double-click, cmd runs this file alone and its window
rem closes at the end: then pause, so that the messages can be read. The
rem inner if stands in parentheses: Wine's cmd takes "if /i" right after
rem another if's condition for a syntax error (Windows' cmd does not).
setlocal EnableDelayedExpansion
set "VANTOR_PAUSE="
if not "!cmdcmdline!"=="" (if /i not "!cmdcmdline:%~f0=!"=="!cmdcmdline!" set "VANTOR_PAUSE=1")
endlocal & set "VANTOR_PAUSE=%VANTOR_PAUSE%"
set "VANTOR_CODE=1"
if "%~1"=="/?" goto usage
if not "%~1"=="" goto usage
set "VANTOR_FROM=%~dp0"
if not defined LOCALAPPDATA goto no_local_app_data
set "VANTOR_HOME=%LOCALAPPDATA%\Programs\Vantor"
set "VANTOR_FILES=vantor.exe c.bat vantor.chm vantor-path.exe README.txt LICENSE.txt"
set "VANTOR_SCRIPTS=c.ps1 c-completion.ps1"

rem Loops set flags and never leave by goto: Wine's cmd does not end a
rem loop on goto, nor run an if block inside one.
set "VANTOR_MISSING="
for %%f in (%VANTOR_FILES% %VANTOR_SCRIPTS% uninstall.bat) do (
  if not exist "%VANTOR_FROM%%%f" set "VANTOR_MISSING=%%f"
)
if defined VANTOR_MISSING goto incomplete
if not exist "%VANTOR_HOME%\" mkdir "%VANTOR_HOME%" 2>nul
if not exist "%VANTOR_HOME%\" goto no_folder
set "VANTOR_FAILED="
for %%f in (%VANTOR_FILES%) do (
  copy /y "%VANTOR_FROM%%%f" "%VANTOR_HOME%\%%f" >nul 2>nul
  if errorlevel 1 set "VANTOR_FAILED=%%f"
)
if defined VANTOR_FAILED goto copy_failed
rem The scripts for PowerShell are written afresh, not copied: a copy keeps
rem the mark of the web (the Zone.Identifier stream) that a downloaded
rem archive gives its files, and PowerShell refuses to run a script marked so.
set "VANTOR_FAILED="
for %%f in (%VANTOR_SCRIPTS%) do (
  if exist "%VANTOR_HOME%\%%f" del /f /q "%VANTOR_HOME%\%%f" >nul 2>nul
  type "%VANTOR_FROM%%%f" >"%VANTOR_HOME%\%%f" 2>nul
  if errorlevel 1 set "VANTOR_FAILED=%%f"
)
if defined VANTOR_FAILED goto copy_failed
rem Installed under another name: a command called "uninstall" on the
rem Path could be typed by mistake.
copy /y "%VANTOR_FROM%uninstall.bat" "%VANTOR_HOME%\vantor-uninstall.bat" >nul 2>nul
if errorlevel 1 goto copy_failed
echo Copied Vantor to "%VANTOR_HOME%".

"%VANTOR_HOME%\vantor-path.exe" add "%VANTOR_HOME%"
set "VANTOR_RESULT=%errorlevel%"
if "%VANTOR_RESULT%"=="2" goto path_already
if not "%VANTOR_RESULT%"=="0" goto path_failed
echo Added "%VANTOR_HOME%" to your Path.
goto done
:path_already
echo "%VANTOR_HOME%" is on your Path already.
:done
echo.
echo Open a new console window and type  c -w  to see Vantor's welcome screen,
echo or  c \  to go to the root of the current drive.
echo To remove Vantor, run vantor-uninstall in a console window.
set "VANTOR_CODE=0"
goto finish

:usage
echo usage: install.bat
echo Installs Vantor for you alone: copies it to Programs\Vantor in your local
echo application data folder and adds that folder to your Path. Run it from the
echo unpacked archive.
goto finish

:no_local_app_data
echo install: LOCALAPPDATA is not set, so there is no folder for your programs.
goto finish

:incomplete
echo install: %VANTOR_MISSING% is missing beside install.bat. Unpack the whole archive,
echo then run install.bat from the unpacked folder.
goto finish

:no_folder
echo install: cannot create the folder "%VANTOR_HOME%".
goto finish

:copy_failed
echo install: cannot copy the files to "%VANTOR_HOME%".
echo Close every console window that runs Vantor, then run install.bat again.
goto finish

:path_failed
echo install: your Path was left as it was, so "c" is not found in new console windows.
echo Add "%VANTOR_HOME%" to your Path by hand, or run install.bat again.

:finish
if defined VANTOR_PAUSE pause
exit /b %VANTOR_CODE%
