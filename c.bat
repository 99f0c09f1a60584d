@rem Changes the directory of this shell with vantor.exe. Each run makes a
@rem folder of its own in TEMP and names the hand-off file in it to the
@rem program in VANTOR_HANDOFF; the program writes the commands into that
@rem file, which runs here, in this shell, after a run that wrote it and
@rem ended with exit code 0 (any other run, or a missing vantor.exe, leaves
@rem the shell where it is). The folder goes when the run ends. The
@rem errorlevel afterwards is the program's exit code.
@rem
@rem Every line begins with @ and nothing turns echo off for good: echo is
@rem one switch for the whole shell, and the caller's batch file keeps its.
@rem No comment here holds a percent sign: cmd expands even a rem line.
@setlocal EnableExtensions DisableDelayedExpansion
@set "vantor_exe=%~dp0vantor.exe"
@set "vantor_echo="
@set "vantor_dir="
@set "VANTOR_HANDOFF="
@rem The prompt that echo shows before a line: one line, a known one.
@set "PROMPT=$G"
@rem Without TEMP the program only says so; no argument matters then.
@if not defined TEMP "%vantor_exe%"
@if not defined TEMP endlocal & exit /b %errorlevel%
@rem The run's own folder (below). md would make a missing TEMP as well; a
@rem TEMP that takes no folder fails the run anyway, and the program then
@rem says so about its usual file. No label is reached before echo is off:
@rem Wine's cmd shows a label line. TEMP stands on a line of its own: Wine's
@rem cmd expands a percent sign in a variable's value once more.
@set "vantor_stop=1"
@if exist "%TEMP%\" set "vantor_stop="
@for /l %%# in (1,1,100) do @if not defined vantor_dir if not defined vantor_stop call :vantor_make_dir >nul 2>nul
@if not defined vantor_dir "%vantor_exe%" %*
@if not defined vantor_dir endlocal & exit /b %errorlevel%
@set "VANTOR_HANDOFF=%vantor_dir%\vantor2.bat"
@set "vantor_scratch=%vantor_dir%\arguments.txt"
@rem Echo is on when the line of a call shows in the file.
@call :vantor_echo_probe >"%vantor_scratch%" 2>nul
@for %%F in ("%vantor_scratch%") do @if %%~zF gtr 0 set "vantor_echo=1"
@echo off
@if not exist "%vantor_scratch%" goto vantor_as_parsed
@rem Handed on as they came, the arguments would be parsed a second time,
@rem and a caret-escaped ampersand typed at the prompt would start a command.
@rem Only a rem line keeps & | < > ^ ( ) as they are, and cmd shows it, with
@rem echo on, for each round of a for loop: into the file, to be read back.
@rem The arguments stand between two control characters 1F, and are read
@rem back from between them.
(
echo on
for %%# in (1) do rem vantor %*
@echo off
) >"%vantor_scratch%"
@for %%F in ("%vantor_scratch%") do @if %%~zF gtr 0 goto vantor_read
@rem Wine's cmd shows no round of a for loop (nor redirects a block): there
@rem echo writes the line, and parses the arguments once more as it does.
@>"%vantor_scratch%" echo rem vantor %*
:vantor_read
@rem The file is in the console's code page, where a character it cannot
@rem hold comes back as "?", a wildcard to the program (three Cyrillic
@rem letters would look for "???"). A line with a "?" therefore goes as
@rem typed, parsed once more as Wine's echo does above. The line ends with
@rem 1F, so a "?" is followed by a second part when the line is split at
@rem each "?" (Wine's cmd reads a second part alone only beside the first).
@set "vantor_question="
@for /f "usebackq eol= tokens=1,2 delims=?" %%P in ("%vantor_scratch%") do @set "vantor_question=%%Q"
@if defined vantor_question goto vantor_as_parsed
@rem The line (after an empty one on Windows) is read as it is, and the
@rem program runs in the loop, where nothing parses the arguments again.
@rem Delayed expansion stays off: it would take their exclamation marks,
@rem under Wine even from the value of a variable.
@for /f "usebackq eol= tokens=1,2 delims=" %%A in ("%vantor_scratch%") do @"%vantor_exe%" %%B & goto vantor_ran
:vantor_as_parsed
@"%vantor_exe%" %*
:vantor_ran
@set "vantor_rc=%errorlevel%"
@if defined vantor_echo echo on
@rem Only the file of this run, written by a run that ended with 0, moves
@rem the shell: a listing writes none, and no other run knows the folder.
@set "vantor_go="
@if %vantor_rc%==0 if exist "%VANTOR_HANDOFF%" set "vantor_go=1"
@rem The hand-off file runs here, where delayed expansion is off (it would
@rem take a chdir line's exclamation marks), and pushd carries the directory
@rem past endlocal, which restores the directory setlocal saw.
@if defined vantor_go call "%VANTOR_HANDOFF%" >nul
@if defined vantor_go pushd .
@rd /s /q "%vantor_dir%" 2>nul
@endlocal & (if "%vantor_go%"=="1" popd) & exit /b %vantor_rc%

:vantor_make_dir
@rem md fails on a name that exists, so a name that another run took (cmd
@rem draws the same random numbers in every console started in the same
@rem second) or a killed one left is drawn anew; a failure that leaves no
@rem folder there is TEMP's, and ends the search. Wine's cmd runs what
@rem follows && after a failed md, and its md leaves a failure's errorlevel
@rem after a success: hence (call ), which sets 0, and the errorlevel test.
@set "vantor_try=%TEMP%\vantor-%RANDOM%-%RANDOM%"
@(call )
@md "%vantor_try%"
@if not errorlevel 1 set "vantor_dir=%vantor_try%"
@if not exist "%vantor_try%\" set "vantor_stop=1"
@exit /b 0

:vantor_echo_probe
rem vantor echo probe
@exit /b 0
