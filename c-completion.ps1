<#
.SYNOPSIS
Completes the argument of c (Vantor) with the Tab key.

.DESCRIPTION
Dot-source this script once in a session, for instance in your profile:

    . c-completion.ps1

Then c pr\co<Tab> offers the directories that c pr\co would offer in its
menu, in the same order; an alias name completes to its directory,
c -<Tab> offers the directories of the history (c -1, c -2, ...) and
c -2<Tab> the one c -2 enters. The candidates come from vantor.exe
--complete-utf8, from the folder of this script, which is the folder of c.ps1.
A path that holds a blank or a character PowerShell reads specially is
completed in single quotes. After an earlier argument, where c would end
with an error, where nothing is found for a wildcard or the search takes
longer than 5 seconds, the line stays as typed.

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

        # PowerShell replaces only the argument under the cursor, while c
        # joins all its arguments: after an earlier argument no completion
        # of this one goes where c with the line would go.
        $argument = $null
        $earlier = 0
        $elements = $commandAst.CommandElements
        for ($i = 1; $i -lt $elements.Count; $i++) {
            $extent = $elements[$i].Extent
            if ($extent.StartOffset -ge $cursorPosition) {
                break
            }
            if ($cursorPosition -le $extent.EndOffset) {
                $argument = $elements[$i]
            } else {
                $earlier++
            }
        }
        # What stands for "nothing" where PowerShell's own completion of
        # file names must not take over: the argument as typed, or a blank
        # where there is none yet (it gives c no other words).
        $keep = if ($argument) { $argument.Extent.Text } else { ' ' }
        $nothing = [Management.Automation.CompletionResult]::new($keep, $keep, 'Text', $keep)
        if ($earlier -gt 0) {
            return $nothing
        }
        # The argument's text before the cursor as PowerShell reads it:
        # quotes taken off, '' in single quotes and escapes undone. A
        # variable or an expression is left to PowerShell's own completion.
        if ($argument -isnot [Management.Automation.Language.StringConstantExpressionAst]) {
            return
        }
        $typed = $argument.Extent.Text.Substring(0, $cursorPosition - $argument.Extent.StartOffset)
        $parsed = [Management.Automation.Language.Parser]::ParseInput("c $typed", [ref]$null, [ref]$null)
        $before = $parsed.Find({ $args[0] -is [Management.Automation.Language.CommandAst] }, $true)
        if ($null -eq $before -or $before.CommandElements.Count -ne 2 -or
            $before.CommandElements[1] -isnot [Management.Automation.Language.StringConstantExpressionAst]) {
            return
        }
        # No name holds a double quote, and vantor.exe would read one as a quote.
        $word = $before.CommandElements[1].Value.Replace('"', '')
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
        # Error output (a system's warnings, say) is read and dropped: on the
        # console it would be painted over the line being edited.
        $start.RedirectStandardError = $true
        # In UTF-8 every name arrives as it is, whatever the console's code page.
        $start.StandardOutputEncoding = New-Object Text.UTF8Encoding $false
        $clock = [Diagnostics.Stopwatch]::StartNew()
        $process = [Diagnostics.Process]::Start($start)
        try {
            $process.StandardInput.Close()
            $reading = $process.StandardOutput.ReadToEndAsync()
            $null = $process.StandardError.ReadToEndAsync()
            $finished = $process.WaitForExit($timeoutMilliseconds) -and
                $reading.Wait([Math]::Max(0, $timeoutMilliseconds - $clock.ElapsedMilliseconds))
            if (-not $finished) {
                if (-not $process.HasExited) {
                    $process.Kill()
                }
                # PowerShell's own completion would walk the same tree.
                return $nothing
            }
            # Any other code is no listing (an older vantor.exe, say).
            if ($process.ExitCode -ne 0) {
                return
            }
            $paths = @($reading.Result -split "`r`n" | Where-Object { $_ -ne '' })
        } finally {
            $process.Dispose()
        }
        # Where Vantor finds nothing for a wildcard, PowerShell's own
        # completion would walk it again; for an option it would offer a
        # line that does something else.
        if ($paths.Count -eq 0 -and ($word -match '[*?\[]' -or $word.StartsWith('-'))) {
            return $nothing
        }

        foreach ($path in $paths) {
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
