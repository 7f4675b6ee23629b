# What the Windows scripts beside this one share: one line per check, the count of failed
# checks, whether the prompt is elevated, and running a program with its standard streams as
# a script sees them. Dot-sourced; Windows PowerShell 5.1 and later, no modules. The log goes
# to the host (Write-Host), so that a function that returns a value returns only that value.

$script:FailedChecks = 0

# One line per check: "ok" or "FAIL", then what was checked; a failure is counted.
function Write-Check([bool] $Holds, [string] $What) {
    if ($Holds) {
        Write-Host "  ok    $What"
    } else {
        Write-Host "  FAIL  $What"
        $script:FailedChecks++
    }
}

function Write-Step([string] $What) {
    Write-Host ''
    Write-Host "== $What"
}

# True when this process holds the Administrators group for real, not for deny only (a prompt
# that was not started "as administrator" under UAC).
function Test-Elevated {
    $identity = [System.Security.Principal.WindowsIdentity]::GetCurrent()
    $principal = New-Object System.Security.Principal.WindowsPrincipal($identity)
    return $principal.IsInRole([System.Security.Principal.WindowsBuiltInRole]::Administrator)
}

# A value of a parsed JSON object by its dotted path; '<missing>' where a member is missing,
# so that a check compares it and fails rather than the script stopping.
function Get-Field($Object, [string] $Path) {
    foreach ($part in $Path.Split('.')) {
        if ($null -eq $Object) {
            return '<missing>'
        }
        $property = $Object.PSObject.Properties[$part]
        if ($null -eq $property) {
            return '<missing>'
        }
        $Object = $property.Value
    }
    # A list comes back as one text, its items separated by blanks ('' when empty).
    if ($Object -is [System.Array]) {
        return ($Object -join ' ')
    }
    return $Object
}

# The object of a one-line JSON answer, or $null when the text is no JSON.
function ConvertFrom-Answer([string] $Text) {
    try {
        return ConvertFrom-Json $Text
    } catch {
        return $null
    }
}

# Runs a program and waits for it (at most $TimeoutSeconds). $InputText, if given, is written
# to its standard input as UTF-8 without a byte-order mark, then a line end, straight to the
# pipe: no PowerShell encoding ($OutputEncoding, the console's code page) comes between.
# Standard output and error are read as bytes (OutBytes, ErrBytes), so that a caller can look
# for a text in whatever encoding, and decoded as UTF-8 (Out, Err), as tarvelin-cli writes
# them to a pipe. The arguments are plain words (no blanks or quotes), so they need no quoting.
# ($InputText is untyped on purpose: a [string] parameter turns $null into ''.)
function Invoke-Program([string] $Path, [string[]] $Arguments, $InputText = $null,
                        [int] $TimeoutSeconds = 60) {
    foreach ($argument in $Arguments) {
        if ($argument -notmatch '^[^\s"]+$') {
            throw "Invoke-Program takes plain words only, not: $argument"
        }
    }
    $utf8 = New-Object System.Text.UTF8Encoding($false)
    $info = New-Object System.Diagnostics.ProcessStartInfo
    $info.FileName = $Path
    $info.Arguments = $Arguments -join ' '
    $info.UseShellExecute = $false
    $info.CreateNoWindow = $true
    $info.RedirectStandardInput = $true
    $info.RedirectStandardOutput = $true
    $info.RedirectStandardError = $true
    $outBytes = New-Object System.IO.MemoryStream
    $errBytes = New-Object System.IO.MemoryStream
    $process = [System.Diagnostics.Process]::Start($info)
    try {
        $output = $process.StandardOutput.BaseStream.CopyToAsync($outBytes)
        $errors = $process.StandardError.BaseStream.CopyToAsync($errBytes)
        if ($null -ne $InputText) {
            $bytes = $utf8.GetBytes($InputText + "`r`n")
            try {
                $process.StandardInput.BaseStream.Write($bytes, 0, $bytes.Length)
                $process.StandardInput.BaseStream.Flush()
            } catch [System.IO.IOException] {
                # It ended without reading: its answer says why.
            } finally {
                [System.Array]::Clear($bytes, 0, $bytes.Length)
            }
        }
        try {
            $process.StandardInput.Close()
        } catch [System.IO.IOException] {
        }
        if (-not $process.WaitForExit($TimeoutSeconds * 1000)) {
            $process.Kill()
            throw "$Path $($Arguments -join ' ') did not end within $TimeoutSeconds s"
        }
        # Until both streams are read to their end.
        if (-not ($output.Wait($TimeoutSeconds * 1000) -and $errors.Wait($TimeoutSeconds * 1000))) {
            throw "$Path $($Arguments -join ' ') ended, but its output did not within $TimeoutSeconds s"
        }
        $out = $outBytes.ToArray()
        $err = $errBytes.ToArray()
        return New-Object PSObject -Property @{
            ExitCode = $process.ExitCode
            Out      = $utf8.GetString($out)
            Err      = $utf8.GetString($err)
            OutBytes = $out
            ErrBytes = $err
        }
    } finally {
        $process.Dispose()
        $outBytes.Dispose()
        $errBytes.Dispose()
    }
}

# Shows what a run printed, each line indented, standard error marked.
function Write-Run([string] $CommandLine, $Run) {
    Write-Host "  > $CommandLine   (exit code $($Run.ExitCode))"
    foreach ($line in ($Run.Out -split "`r?`n")) {
        if ($line -ne '') {
            Write-Host "    $line"
        }
    }
    foreach ($line in ($Run.Err -split "`r?`n")) {
        if ($line -ne '') {
            Write-Host "    stderr: $line"
        }
    }
}
