<#
.SYNOPSIS
Changes the location of this PowerShell session with Vantor.

.DESCRIPTION
c runs vantor.exe from the folder of this script with the arguments as
typed, then reads the change of directory that Vantor wrote into the
hand-off file of this run (vantor2.bat in a folder of its own in
$env:TEMP, which Vantor finds in $env:VANTOR_HANDOFF) and makes it here,
with Set-Location -LiteralPath.
Afterwards $LASTEXITCODE is Vantor's exit code, and $? is false when that
code is not 0.

PowerShell answers c -? itself with this help. For Vantor's usage screen
type c '-?' (quoted); c -w shows its welcome screen.

.EXAMPLE
c pr\co

Goes to the directory matching pr*\co*; when several match, a menu lets
you pick one by its letter.

.EXAMPLE
c -

Goes back to the directory you came from.
#>

# Works in Windows PowerShell 5.1 and PowerShell 7. It keeps nothing in the
# session: its variables and functions live in the script's own scope.
# Dot-sourced, it only defines its functions (the tests read the hand-off
# file through them).

# The code page Vantor writes the hand-off file in: the console's, which
# this session shares with it; the system's OEM code page where there is no
# console to ask. Windows keeps that in the registry; elsewhere the
# culture's OEM code page stands in. Windows PowerShell has every code page
# built in, and PowerShell 7 registers the legacy code pages of .NET at
# start.
function Get-VantorEncoding {
    $codePage = 0
    if ([Environment]::OSVersion.Platform -eq [PlatformID]::Win32NT) {
        try {
            $codePage = [Console]::OutputEncoding.CodePage
        } catch {
            $codePage = 0
        }
        if ($codePage -le 0) {
            $value = [Microsoft.Win32.Registry]::GetValue(
                'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Nls\CodePage', 'OEMCP', $null)
            $null = [int]::TryParse([string]$value, [ref]$codePage)
        }
    }
    if ($codePage -le 0) {
        $codePage = [Globalization.CultureInfo]::CurrentCulture.TextInfo.OEMCodePage
    }
    [Text.Encoding]::GetEncoding($codePage)
}

# The directory a hand-off file's bytes name, or $null when they change
# nothing. Vantor writes one of four contents, each line ended by CR LF:
# "rem"; a drive line ("D:") and the change line for the rest of the path;
# the change line alone for a network path; or, for a path the console's
# code page cannot hold, those lines with the change line in UTF-8 between
# "chcp 65001" and a chcp back, behind "if not errorlevel 1" or behind a
# change to the path's short form for a shell that refused UTF-8. The change
# line is chdir (or, for a network path, pushd; older versions wrote chdir
# there too) and the path in double quotes, with each % doubled for cmd.
function Get-VantorTarget([byte[]]$Bytes, [Text.Encoding]$Encoding) {
    $lines = @($Encoding.GetString($Bytes) -split "`r?`n")
    if ($lines.Count -gt 1 -and $lines[-1] -eq '') {
        $lines = $lines[0..($lines.Count - 2)]
    }
    $unicode = $lines -contains 'chcp 65001 >nul 2>nul'
    if ($unicode) {
        $lines = @([Text.Encoding]::UTF8.GetString($Bytes) -split "`r?`n" | Where-Object {
            $_ -ne '' -and $_ -notmatch '^chcp \d+ >nul 2>nul$'
        })
    }
    if ($lines.Count -eq 2 -and $lines[0] -match '^[A-Za-z]:$') {
        $drive = $lines[0]
        $rootless = '\'
        $change = '^chdir "(.*)"$'
    } elseif ($lines.Count -eq 1) {
        $drive = ''
        $rootless = '\\'
        $change = '^(?:chdir|pushd) "(.*)"$'
    } else {
        return $null
    }
    if ($unicode) {
        $change = $change -replace '^\^', '^(?:if not errorlevel 1|if errorlevel 1 \((?:chdir|pushd) "[^"]*"\) else) '
    }
    if ($lines[-1] -notmatch $change) {
        return $null
    }
    $path = $Matches[1].Replace('%%', '%')
    if (-not $path.StartsWith($rootless)) {
        return $null
    }
    $drive + $path
}

# An argument as it must be handed on for Vantor to read what was typed.
# PowerShell 6 and later put an argument that holds a blank or a double
# quote between double quotes on the program's command line, by the rules
# of the C runtime, and so double the backslashes before the closing quote:
# 'a b\' goes as "a b\\". Vantor's command line knows no escapes: it would
# read \\, which stands for every subdirectory. Halving that run gives back
# what was typed; a single backslash, as Tab completion leaves it, goes
# instead, which names the same directory; a drive root (X:\) stays as it
# is. Windows PowerShell 5.1 puts the argument between the quotes as it is
# ("a b\"), which Vantor reads right: there the argument stays unchanged.
function Get-VantorArgument([string]$Argument, [int]$Major = $PSVersionTable.PSVersion.Major) {
    if ($Major -ge 6 -and $Argument -match '[\s"]' -and $Argument -match '^(.*[^\\:])(\\+)$') {
        return $Matches[1] + $Matches[2].Substring(0, [Math]::Floor($Matches[2].Length / 2))
    }
    $Argument
}

if ($MyInvocation.InvocationName -eq '.') {
    return
}

# A non-zero exit code is Vantor's answer, not an error of this script,
# whatever the session's preferences say.
$PSNativeCommandUseErrorActionPreference = $false
$vantor = [IO.Path]::Combine($PSScriptRoot, 'vantor.exe')
if (-not (Test-Path -LiteralPath $vantor -PathType Leaf)) {
    Write-Error "c: vantor.exe is missing beside $PSCommandPath"
    exit 1
}
$arguments = @(foreach ($argument in $args) {
    if ($argument -is [string]) { Get-VantorArgument $argument } else { , $argument }
})
# The hand-off file of this run, in a folder of its own that no other run
# knows. Without a folder (no TEMP, or one that takes none) Vantor writes
# where it always did, and fails there, and nothing moves.
$folder = $null
if ($env:TEMP) {
    try {
        $folder = [IO.Directory]::CreateDirectory(
            [IO.Path]::Combine($env:TEMP, 'vantor-' + [Guid]::NewGuid().ToString('N'))).FullName
    } catch {
        $folder = $null
    }
}
$handOff = if ($folder) { [IO.Path]::Combine($folder, 'vantor2.bat') } else { $null }
$namedBefore = $env:VANTOR_HANDOFF
$env:VANTOR_HANDOFF = $handOff
try {
    & $vantor @arguments
    $code = $LASTEXITCODE
    # Only a run that wrote this file and ended with 0 hands a directory
    # over: a listing writes none, every other run leaves "rem" in it.
    if ($code -eq 0 -and $handOff -and [IO.File]::Exists($handOff)) {
        $target = Get-VantorTarget ([IO.File]::ReadAllBytes($handOff)) (Get-VantorEncoding)
        if ($target) {
            Set-Location -LiteralPath $target
        }
    }
} finally {
    $env:VANTOR_HANDOFF = $namedBefore
    if ($folder) {
        Remove-Item -LiteralPath $folder -Recurse -Force -ErrorAction Ignore
    }
}
exit $code
