@echo off
rem Changes the directory of this shell with vantor.exe: the program writes
rem the commands into %TEMP%\vantor2.bat, which runs here, in this shell.
rem The line after the program is read whole before it runs, so the
rem errorlevel it passes on is the program's own exit code.
"%~dp0vantor.exe" %*
(if exist "%TEMP%\vantor2.bat" call "%TEMP%\vantor2.bat") & exit /b %errorlevel%
