@rem Changes the directory of this shell with vantor.exe: the program writes
@rem the commands into vantor2.bat in the TEMP folder, which runs here, in
@rem this shell, after a run that ended with exit code 0 (any other run, or
@rem a missing vantor.exe, leaves the shell where it is). The errorlevel
@rem afterwards is the program's exit code.
@rem
@rem Every line begins with @ and nothing turns echo off for good: echo is
@rem one switch for the whole shell, and the caller's batch file keeps its.
@rem No comment here holds a percent sign: cmd expands even a rem line.
@setlocal
@set "vantor_delayed=" & if "!!"=="" set "vantor_delayed=1"
@setlocal EnableExtensions DisableDelayedExpansion
@set "vantor_exe=%~dp0vantor.exe"
@set "vantor_echo="
@rem The prompt that echo shows before a line: one line, a known one.
@set "PROMPT=$G"
@rem Without TEMP the program only says so; no argument matters then.
@if not defined TEMP "%vantor_exe%"
@if not defined TEMP endlocal & endlocal & exit /b %errorlevel%
@set "vantor_scratch=%TEMP%\vantor2-%RANDOM%.tmp"
@rem Echo is on when the line of a call shows in the file.
@call :vantor_echo_probe >"%vantor_scratch%" 2>nul
@for %%F in ("%vantor_scratch%") do @if %%~zF gtr 0 set "vantor_echo=1"
@echo off
@rem A TEMP that takes no file fails the run anyway.
@if not exist "%vantor_scratch%" goto vantor_as_parsed
@rem Handed on as they came, the arguments would be parsed a second time,
@rem and a caret-escaped ampersand typed at the prompt would start a command.
@rem Only a rem line keeps & | < > ^ ( ) as they are, and cmd shows it, with
@rem echo on, for each round of a for loop: into the file, to be read back.
@rem The arguments follow the control character 1F, a blank to the program
@rem as every byte from 1 to 32 is.
(
echo on
for %%# in (1) do rem vantor 
@echo off
) >"%vantor_scratch%"
@for %%F in ("%vantor_scratch%") do @if %%~zF gtr 0 goto vantor_capture
@rem Wine's cmd shows no round of a for loop (nor redirects a block): there
@rem echo writes the line, and parses the arguments once more as it does.
@>"%vantor_scratch%" echo rem vantor %*
@goto vantor_read
:vantor_capture
(
echo on
for %%# in (1) do rem vantor %*
@echo off
) >"%vantor_scratch%"
:vantor_read
@rem The line (after an empty one on Windows) is read as it is, and the
@rem program runs in the loop, where nothing parses the arguments again.
@rem Delayed expansion stays off: it would take their exclamation marks,
@rem under Wine even from the value of a variable.
@for /f "usebackq eol= tokens=1* delims=" %%A in ("%vantor_scratch%") do @"%vantor_exe%" %%B & goto vantor_ran
:vantor_as_parsed
@"%vantor_exe%" %*
:vantor_ran
@set "vantor_rc=%errorlevel%"
@del "%vantor_scratch%" 2>nul
@if defined vantor_echo echo on
@rem Under delayed expansion a chdir line would lose its exclamation marks:
@rem the hand-off file runs here, where it is off, and pushd carries the
@rem directory past endlocal, which restores the directory setlocal saw.
@if not defined vantor_delayed endlocal & endlocal & (if %vantor_rc%==0 if exist "%TEMP%\vantor2.bat" call "%TEMP%\vantor2.bat" >nul) & exit /b %vantor_rc%
@if %vantor_rc%==0 if exist "%TEMP%\vantor2.bat" call "%TEMP%\vantor2.bat" >nul
@if %vantor_rc%==0 pushd .
@endlocal & endlocal & (if %vantor_rc%==0 popd) & exit /b %vantor_rc%

:vantor_echo_probe
rem vantor echo probe
@exit /b 0
