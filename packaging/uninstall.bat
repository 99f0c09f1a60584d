@echo off
rem Removes Vantor for the current user: takes its folder off the user's
rem Path, giving back the Path exactly as it was before install.bat, and
rem deletes the files install.bat copied. The history, aliases and settings
rem stay in the registry unless "/purge" is given; a settings file named by
rem VANTOR is never deleted. Installed, this file is vantor-uninstall.bat.
setlocal
rem Started by a double-click, cmd runs this file alone and its window
rem closes at the end: then pause, so that the messages can be read. The
rem inner if stands in parentheses: Wine's cmd takes "if /i" right after
rem another if's condition for a syntax error (Windows' cmd does not).
setlocal EnableDelayedExpansion
set "VANTOR_PAUSE="
if not "!cmdcmdline!"=="" (if /i not "!cmdcmdline:%~f0=!"=="!cmdcmdline!" set "VANTOR_PAUSE=1")
endlocal & set "VANTOR_PAUSE=%VANTOR_PAUSE%"
set "VANTOR_PURGE="
if /i "%~1"=="/purge" set "VANTOR_PURGE=1"
if not "%~2"=="" goto usage
if not "%~1"=="" if not defined VANTOR_PURGE goto usage
if not defined LOCALAPPDATA goto no_local_app_data
set "VANTOR_HOME=%LOCALAPPDATA%\Programs\Vantor"
set "VANTOR_KEY=HKCU\SOFTWARE\Orbwell Software\Vantor"
set "VANTOR_TOOL=%VANTOR_HOME%\vantor-path.exe"
if not exist "%VANTOR_TOOL%" set "VANTOR_TOOL=%~dp0vantor-path.exe"
if not exist "%VANTOR_TOOL%" goto no_tool

"%VANTOR_TOOL%" remove "%VANTOR_HOME%"
set "VANTOR_RESULT=%errorlevel%"
if "%VANTOR_RESULT%"=="2" goto path_absent
if not "%VANTOR_RESULT%"=="0" goto path_failed
echo Removed "%VANTOR_HOME%" from your Path.
goto settings
:path_absent
echo "%VANTOR_HOME%" was not on your Path.

:settings
if not defined VANTOR_PURGE goto keep_settings
reg query "%VANTOR_KEY%" >nul 2>nul
if errorlevel 1 goto no_settings
reg delete "%VANTOR_KEY%" /f >nul 2>nul
if errorlevel 1 goto purge_failed
echo Deleted your Vantor history, aliases and settings from the registry.
goto settings_file
:purge_failed
echo uninstall: the registry key %VANTOR_KEY% could not be deleted.
goto settings_file
:no_settings
echo There are no Vantor settings in the registry.
goto settings_file
:keep_settings
echo Your history, aliases and settings stay in the registry (%VANTOR_KEY%):
echo run "%~n0 /purge" to delete them as well.
:settings_file
if not defined VANTOR goto files
echo Your settings file "%VANTOR%", named by VANTOR, is kept: delete it yourself.
:files

rem The hand-off file vantor.exe leaves in TEMP.
if defined TEMP if exist "%TEMP%\vantor2.bat" del /f /q "%TEMP%\vantor2.bat" >nul 2>nul
for %%f in (vantor.exe c.bat c.ps1 c-completion.ps1 vantor.chm vantor-path.exe README.txt LICENSE.txt) do (
  if exist "%VANTOR_HOME%\%%f" del /f /q "%VANTOR_HOME%\%%f" >nul 2>nul
)
rem Last the installed uninstaller, which may be this file, and the folder:
rem the closing steps, one line of commands kept in VANTOR_CLOSE with the
rem variables in it expanded already. Windows' cmd opens a batch file anew
rem for each line: a goto without a label ends this file at once and the
rem rest of its line, read already, still runs, so nothing is read from the
rem deleted file ("(call )" leaves errorlevel 0). Wine's cmd ends the line
rem at that goto and goes on with the line after it; it holds this file open
rem until its end, so a deleted uninstaller stays there until then and the
rem folder stays, empty. (Wine also reads the next line into this one when
rem a parenthesized "if" is followed by another group: hence the bare if at
rem its end.)
set "VANTOR_SELF=%VANTOR_HOME%\vantor-uninstall.bat"
set VANTOR_CLOSE=del /f /q "%VANTOR_SELF%" ^>nul 2^>nul ^& rmdir "%VANTOR_HOME%" ^>nul 2^>nul ^& (if exist "%VANTOR_HOME%\" echo The folder "%VANTOR_HOME%" is in use or holds files of yours: delete it yourself.^) ^& echo Vantor is uninstalled.^& (call ^) ^& if "%VANTOR_PAUSE%"=="1" pause
goto 2>nul & %VANTOR_CLOSE%
%VANTOR_CLOSE%
exit /b 0

:usage
echo usage: %~n0 [/purge]
echo Takes Vantor off your Path and deletes its files.
echo   /purge  also deletes your Vantor history, aliases and settings from the registry
goto failed

:no_local_app_data
echo uninstall: LOCALAPPDATA is not set, so the folder of Vantor is unknown.
goto failed

:no_tool
echo uninstall: vantor-path.exe is missing. Run uninstall.bat from the unpacked
echo release archive to take Vantor off your Path.
goto failed

:path_failed
echo uninstall: your Path could not be changed; nothing was deleted.

:failed
if defined VANTOR_PAUSE pause
exit /b 1
