<#
.SYNOPSIS
Completes the argument of c (Vantor) with the Tab key.

.DESCRIPTION
Dot-source this script once in a session, for instance in your profile:

    . c-completion.ps1

Then c pr\co<Tab> offers the directories that c pr\co would offer in its
menu, in the same order; an alias name completes to its directory, and
c -<Tab> offers the directories of the history (c -1, c -2, ...). The
candidates come from vantor.exe --complete-utf8, from the folder of this
script, which is the folder of c.ps1. A path that holds a blank or a
character PowerShell reads specially is completed in single quotes.

.EXAMPLE
. c-completion.ps1

Registers the completer for c and c.ps1 in this session.
#>

# Works in Windows PowerShell 5.1 and PowerShell 7. Dot-sourced, it leaves
# nothing in the session but the registered completer: its variables live
# in the script block below and in the completer's closure.
& {
    $folder = $PSScriptRoot
    # A search that takes longer than this is stopped, and nothing is offered.
    $timeoutMilliseconds = 5000

    Register-ArgumentCompleter -Native -CommandName c, c.ps1 -ScriptBlock {
        param($wordToComplete, $commandAst, $cursorPosition)

        # The argument under the cursor as PowerShell reads it: quotes taken
        # off, '' in single quotes and escapes undone. A variable or an
        # expression is left to PowerShell's own completion.
        $argument = $null
        $elements = $commandAst.CommandElements
        for ($i = 1; $i -lt $elements.Count; $i++) {
            $extent = $elements[$i].Extent
            if ($extent.StartOffset -lt $cursorPosition -and $cursorPosition -le $extent.EndOffset) {
                $argument = $elements[$i]
            }
        }
        if ($argument -isnot [Management.Automation.Language.StringConstantExpressionAst]) {
            return
        }
        # No name holds a double quote, and vantor.exe would read one as a quote.
        $word = $argument.Value.Replace('"', '')
        $vantor = [IO.Path]::Combine($folder, 'vantor.exe')
        if ($word -eq '' -or -not [IO.File]::Exists($vantor)) {
            return
        }

        $start = New-Object Diagnostics.ProcessStartInfo
        $start.FileName = $vantor
        # vantor.exe splits its command line at blanks, keeps what stands
        # in double quotes together and takes a backslash as it is: so only
        # the blanks are quoted, and a path ending in '\' stays intact.
        $start.Arguments = '--complete-utf8 ' + ($word -replace '([\x01-\x20]+)', '"$1"')
        $start.WorkingDirectory = (Get-Location -PSProvider FileSystem).ProviderPath
        $start.UseShellExecute = $false
        $start.CreateNoWindow = $true
        $start.RedirectStandardInput = $true
        $start.RedirectStandardOutput = $true
        # In UTF-8 every name arrives as it is, whatever the console's code page.
        $start.StandardOutputEncoding = New-Object Text.UTF8Encoding $false
        $process = [Diagnostics.Process]::Start($start)
        try {
            $process.StandardInput.Close()
            $reading = $process.StandardOutput.ReadToEndAsync()
            if (-not $process.WaitForExit($timeoutMilliseconds)) {
                if (-not $process.HasExited) {
                    $process.Kill()
                }
                return
            }
            # Any other code is no listing (an older vantor.exe, say).
            if ($process.ExitCode -ne 0) {
                return
            }
            $paths = $reading.Result -split "`r`n"
        } finally {
            $process.Dispose()
        }

        foreach ($path in $paths) {
            if ($path -eq '') {
                continue
            }
            $text = $path
            # Blanks and what PowerShell reads specially (typographic
            # quotes included) call for single quotes, with those inside
            # doubled.
            if ($path -match '[\s$''"`(){}\[\];,&@#|<>\u2018-\u201E]') {
                $text = "'" +
                    [Management.Automation.Language.CodeGeneration]::EscapeSingleQuotedStringContent($path) +
                    "'"
            }
            [Management.Automation.CompletionResult]::new($text, $path, 'ProviderContainer', $path)
        }
    }.GetNewClosure()
}
