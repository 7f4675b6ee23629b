<#
.SYNOPSIS
    A round trip of tarvelin-cli on real Windows, with a throwaway local account.
.DESCRIPTION
    Makes a local account with a random name and password; the password exists only in this
    process and reaches tarvelin-cli only through standard input. Then, step by step, each
    printed with what it checked:
      1. status before, in words and as JSON;
      2. set with a wrong password exits 3, names the reason and changes nothing;
      3. set --check with the right password, piped the way the README shows for PowerShell:
         exit 7, nothing changed;
      4. set: exit 0, the Winlogon values as asked, no password in the registry;
      5. status --json: automatic logon on, the secret present, no problem (warnings shown);
      6. a second set changes nothing;
      7. remove;
      8. status: automatic logon off, the secret gone.
    Whatever fails, at the end the secret is blanked (remove), the Winlogon values that
    tarvelin-cli touches are written back as they were (those that were absent deleted again)
    and the account is deleted, each checked.
    Needs an elevated prompt. Windows PowerShell 5.1 and later, no modules. Exit code 0 when
    every check held, 1 when one failed, 2 when it did not start (the message says why).
.PARAMETER Cli
    The tarvelin-cli.exe to test.
.PARAMETER DiscardStoredPassword
    Run also where a password is already stored as the DefaultPassword secret (or the secret
    cannot be read). Nothing can put that password back: at the end the secret is blank.
    Without this switch the script stops on such a machine before it changes anything.
.EXAMPLE
    powershell -NoProfile -ExecutionPolicy Bypass -File roundtrip.ps1 -Cli C:\Tools\tarvelin-cli.exe
#>
[CmdletBinding()]
param(
    [Parameter(Mandatory = $true)] [string] $Cli,
    [switch] $DiscardStoredPassword
)
Set-StrictMode -Version Latest
$ErrorActionPreference = 'Stop'
. (Join-Path $PSScriptRoot 'checks.ps1')

# ---- The Winlogon values tarvelin-cli touches, in the 64-bit view that Windows reads --------

$WinlogonPath = 'SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon'
$WinlogonNames = @('AutoAdminLogon', 'DefaultDomainName', 'DefaultUserName', 'DefaultPassword', 'AutoLogonCount')

function Open-Winlogon([bool] $Writable) {
    $machine = [Microsoft.Win32.RegistryKey]::OpenBaseKey([Microsoft.Win32.RegistryHive]::LocalMachine,
                                                          [Microsoft.Win32.RegistryView]::Registry64)
    $key = $machine.OpenSubKey($WinlogonPath, $Writable)
    $machine.Close()
    if ($null -eq $key) {
        throw "HKLM\$WinlogonPath cannot be opened"
    }
    return $key
}

# Each value as it stands: its kind and data, or $null when absent. A value of a kind that
# .NET cannot write back as it was stops the script before anything is changed.
function Get-Winlogon {
    $key = Open-Winlogon $false
    try {
        $values = @{}
        $present = $key.GetValueNames()
        foreach ($name in $WinlogonNames) {
            $values[$name] = $null
            if ($present -contains $name) {
                $kind = $key.GetValueKind($name)
                if ($kind -eq [Microsoft.Win32.RegistryValueKind]::Unknown) {
                    throw "Winlogon value $name is of a kind that cannot be written back as it was"
                }
                $data = $key.GetValue($name, $null, [Microsoft.Win32.RegistryValueOptions]::DoNotExpandEnvironmentNames)
                $values[$name] = New-Object PSObject -Property @{ Kind = $kind; Data = $data }
            }
        }
        return $values
    } finally {
        $key.Close()
    }
}

# A value for the log; a plain-text DefaultPassword is named, never shown.
function Format-Value([string] $Name, $Value) {
    if ($null -eq $Value) {
        return 'absent'
    }
    if ($Name -eq 'DefaultPassword') {
        return "$($Value.Kind) (not shown)"
    }
    return "$($Value.Kind) '$(@($Value.Data) -join ',')'"
}

function Write-Winlogon([string] $Title, $Values) {
    Write-Host "  $Title"
    foreach ($name in $WinlogonNames) {
        Write-Host "    $name = $(Format-Value $name $Values[$name])"
    }
}

# The names whose values differ between two readings.
function Compare-Winlogon($Before, $After) {
    $differ = @()
    foreach ($name in $WinlogonNames) {
        $a = $Before[$name]
        $b = $After[$name]
        if ($null -eq $a -and $null -eq $b) {
            continue
        }
        if ($null -eq $a -or $null -eq $b -or $a.Kind -ne $b.Kind -or
            (@($a.Data) -join "`n") -cne (@($b.Data) -join "`n")) {
            $differ += $name
        }
    }
    return ($differ -join ' ')
}

function Restore-Winlogon($Values) {
    $key = Open-Winlogon $true
    try {
        foreach ($name in $WinlogonNames) {
            if ($null -eq $Values[$name]) {
                $key.DeleteValue($name, $false)
            } else {
                $key.SetValue($name, $Values[$name].Data, $Values[$name].Kind)
            }
        }
    } finally {
        $key.Close()
    }
}

# ---- The throwaway account ------------------------------------------------------------------

# A number from 0 to $Below - 1, each equally likely: bytes past the last whole multiple of
# $Below are drawn again. $Below is at most 256.
function Get-RandomNumber($Random, [int] $Below) {
    $limit = 256 - (256 % $Below)
    $byte = New-Object byte[] 1
    do {
        $Random.GetBytes($byte)
    } while ($byte[0] -ge $limit)
    return $byte[0] % $Below
}

function New-RandomText($Random, [string] $Alphabet, [int] $Length) {
    $text = New-Object System.Text.StringBuilder
    while ($text.Length -lt $Length) {
        [void]$text.Append($Alphabet[(Get-RandomNumber $Random $Alphabet.Length)])
    }
    return $text.ToString()
}

# 16 characters that meet Windows' complexity rule (capitals, small letters, digits, others),
# one of them outside ASCII so that the UTF-8 of standard input is tried too; then shuffled.
function New-Password($Random) {
    $characters = ((New-RandomText $Random 'ABCDEFGHJKLMNPQRSTUVWXYZ' 4) +
                   (New-RandomText $Random 'abcdefghijkmnopqrstuvwxyz' 4) +
                   (New-RandomText $Random '0123456789' 4) +
                   (New-RandomText $Random '-_.+!#%=' 3) +
                   (New-RandomText $Random ([string][char]0x00E4 + [char]0x00DF + [char]0x20AC) 1)).ToCharArray()
    for ($i = $characters.Length - 1; $i -gt 0; $i--) {
        $j = Get-RandomNumber $Random ($i + 1)
        $kept = $characters[$i]
        $characters[$i] = $characters[$j]
        $characters[$j] = $kept
    }
    return -join $characters
}

# ADSI's WinNT provider: no module, and the password goes by a COM call, never a command line.
function New-Account([string] $Name, [string] $Password) {
    $computer = [ADSI]"WinNT://$env:COMPUTERNAME,computer"
    $user = $computer.Create('User', $Name)
    $user.SetPassword($Password)
    $user.Put('Description', 'Tarvelin round trip; deleted at its end')
    $user.SetInfo()
}

function Test-Account([string] $Name) {
    return [ADSI]::Exists("WinNT://$env:COMPUTERNAME/$Name,user")
}

function Remove-Account([string] $Name) {
    $computer = [ADSI]"WinNT://$env:COMPUTERNAME,computer"
    $computer.Delete('User', $Name)
}

# ---- The round trip ---------------------------------------------------------------------------

$cliPath = (Resolve-Path -LiteralPath $Cli).Path
if (-not (Test-Elevated)) {
    Write-Host 'roundtrip: run this from an elevated prompt ("Run as administrator"): set and remove need administrator rights.'
    exit 2
}
$computer = $env:COMPUTERNAME
$saved = Get-Winlogon

Write-Step '1. status before'
Write-Winlogon 'Winlogon values, saved to be put back at the end:' $saved
$run = Invoke-Program $cliPath @('status')
Write-Run 'tarvelin-cli status' $run
Write-Check (@(0, 5, 6) -contains $run.ExitCode) 'exit code 0, 5 or 6: every value was read'
$run = Invoke-Program $cliPath @('status', '--json')
Write-Run 'tarvelin-cli status --json' $run
$status = ConvertFrom-Answer $run.Out
Write-Check ($null -ne $status) 'one JSON object'
$secretBefore = Get-Field $status 'secret'
if ($secretBefore -ne 'absent' -and -not $DiscardStoredPassword) {
    Write-Host "roundtrip: the DefaultPassword secret is $secretBefore here, and no one can put a stored password back: the round trip would leave it blank. Run it on a test machine with -DiscardStoredPassword."
    exit 2
}

$random = [System.Security.Cryptography.RandomNumberGenerator]::Create()
$name = 'tvrt' + (New-RandomText $random '0123456789abcdef' 8)
$password = New-Password $random
# Wrong in its last character only.
$last = $password[$password.Length - 1]
$wrong = $password.Substring(0, $password.Length - 1) + $(if ($last -ceq 'x') { 'y' } else { 'x' })
$user = "$computer\$name"
$accountMade = $false
$touched = $false  # a set has run
$changing = $false # ... and may have stored something that no remove has blanked since

# A run of tarvelin-cli whose printed output must never hold the password.
function Invoke-Cli([string[]] $Arguments, $InputText = $null) {
    $run = Invoke-Program $cliPath $Arguments $InputText
    Write-Run "tarvelin-cli $($Arguments -join ' ')" $run
    $leaked = ($run.Out + $run.Err).Contains($password) -or ($run.Out + $run.Err).Contains($wrong)
    Write-Check (-not $leaked) 'no password in what it printed'
    return $run
}

function Test-Unchanged([string] $What) {
    $differ = Compare-Winlogon $saved (Get-Winlogon)
    Write-Check ($differ -eq '') "$What changed no Winlogon value$(if ($differ) { ": $differ" })"
}

try {
    Write-Step "Account $user"
    New-Account $name $password
    $accountMade = $true
    Write-Check (Test-Account $name) "local account $name made, with a random password of $($password.Length) characters"
    $touched = $true
    $changing = $true

    Write-Step '2. set with a wrong password'
    $run = Invoke-Cli @('set', '--user', $name, '--json') $wrong
    $answer = ConvertFrom-Answer $run.Out
    Write-Check ($run.ExitCode -eq 3) "exit code 3: $($run.ExitCode)"
    Write-Check ((Get-Field $answer 'error') -eq 'credentials-refused' -and
                 (Get-Field $answer 'reason') -eq 'wrong-name-or-password' -and
                 (Get-Field $answer 'errorNumber') -eq 1326) 'JSON names the reason: credentials-refused, wrong-name-or-password, error 1326'
    Write-Check ($run.Err.Trim() -ne '') 'standard error says why in words'
    Test-Unchanged 'the refused set'

    Write-Step '3. set --check with the right password, piped as the README shows'
    # The README's way for Windows PowerShell 5.1, which sends pipeline text in ASCII unless
    # told otherwise; the password holds a character outside ASCII, so this tries that advice.
    $OutputEncoding = New-Object System.Text.UTF8Encoding($false)
    $ErrorActionPreference = 'Continue' # 5.1 turns a native program's standard error into errors
    $lines = @($password | & $cliPath set --user $name --check --json 2>&1)
    $exitCode = $LASTEXITCODE
    $ErrorActionPreference = 'Stop'
    $out = @($lines | Where-Object { $_ -isnot [System.Management.Automation.ErrorRecord] }) -join "`n"
    $err = @($lines | Where-Object { $_ -is [System.Management.Automation.ErrorRecord] }) -join "`n"
    $run = New-Object PSObject -Property @{ ExitCode = $exitCode; Out = $out; Err = $err }
    Write-Run "`$password | tarvelin-cli set --user $name --check --json" $run
    Write-Check (-not ($out + $err).Contains($password)) 'no password in what it printed'
    $answer = ConvertFrom-Answer $out
    Write-Check ($exitCode -eq 7) "exit code 7, something would change (3 would mean the pipe garbled the password): $exitCode"
    Write-Check ((Get-Field $answer 'check') -eq $true -and (Get-Field $answer 'changed') -eq $false) 'a dry run that changed nothing'
    Write-Check ((Get-Field $answer 'after.AutoAdminLogon') -eq '1' -and
                 (Get-Field $answer 'after.DefaultUserName') -eq $name -and
                 (Get-Field $answer 'after.secret') -eq 'replaced') 'it would switch automatic logon on for this user and store the password'
    Test-Unchanged 'set --check'

    Write-Step '4. set'
    $run = Invoke-Cli @('set', '--user', $name, '--json') $password
    $answer = ConvertFrom-Answer $run.Out
    Write-Check ($run.ExitCode -eq 0) "exit code 0: $($run.ExitCode)"
    Write-Check ((Get-Field $answer 'changed') -eq $true -and $null -eq (Get-Field $answer 'error')) 'changed, no error'
    $now = Get-Winlogon
    Write-Winlogon 'Winlogon values now:' $now
    Write-Check ($null -ne $now['AutoAdminLogon'] -and $now['AutoAdminLogon'].Kind -eq 'String' -and
                 $now['AutoAdminLogon'].Data -ceq '1') 'AutoAdminLogon is REG_SZ "1"'
    Write-Check ($null -ne $now['DefaultUserName'] -and $now['DefaultUserName'].Data -eq $name) "DefaultUserName is $name"
    Write-Check ($null -ne $now['DefaultDomainName'] -and $now['DefaultDomainName'].Data -eq $computer) "DefaultDomainName is $computer, the computer's name"
    Write-Check ($null -eq $now['DefaultPassword']) 'no DefaultPassword value: the password is not in the registry'
    Write-Check ($null -eq $now['AutoLogonCount']) 'no AutoLogonCount'

    Write-Step '5. status --json'
    $run = Invoke-Cli @('status', '--json')
    $status = ConvertFrom-Answer $run.Out
    Write-Check ($run.ExitCode -eq 0) "exit code 0, on and nothing stops it: $($run.ExitCode)"
    Write-Check ((Get-Field $status 'enabled') -eq $true -and (Get-Field $status 'user') -eq $name) "on, for $name"
    Write-Check ((Get-Field $status 'secret') -eq 'present') 'the secret is present'
    Write-Check ("$(Get-Field $status 'problems')" -eq '') "no problem listed: '$(Get-Field $status 'problems')'"
    Write-Host "  warnings (shown, not judged): '$(Get-Field $status 'warnings')'"
    $run = Invoke-Cli @('status')

    Write-Step '6. set again'
    $run = Invoke-Cli @('set', '--user', $name, '--json') $password
    $answer = ConvertFrom-Answer $run.Out
    Write-Check ($run.ExitCode -eq 0) "exit code 0: $($run.ExitCode)"
    Write-Check ((Get-Field $answer 'changed') -eq $false) 'nothing changed: the secret compares equal to the password'

    Write-Step '7. remove'
    $run = Invoke-Cli @('remove', '--json')
    $answer = ConvertFrom-Answer $run.Out
    Write-Check ($run.ExitCode -eq 0) "exit code 0: $($run.ExitCode)"
    Write-Check ((Get-Field $answer 'changed') -eq $true -and (Get-Field $answer 'after.AutoAdminLogon') -eq '0' -and
                 (Get-Field $answer 'after.secret') -eq 'blank') 'AutoAdminLogon 0, the secret blanked'
    $changing = $run.ExitCode -ne 0

    Write-Step '8. status after'
    $run = Invoke-Cli @('status', '--json')
    $status = ConvertFrom-Answer $run.Out
    Write-Check ($run.ExitCode -eq 5) "exit code 5, automatic logon off: $($run.ExitCode)"
    Write-Check ((Get-Field $status 'enabled') -eq $false -and (Get-Field $status 'secret') -eq 'absent') 'off, and the secret gone (blank counts as absent)'
} catch {
    Write-Check $false "the round trip stopped: $($_.Exception.Message)"
} finally {
    $ErrorActionPreference = 'Stop'
    Write-Step 'Putting the machine back'
    if ($changing) {
        try {
            $run = Invoke-Cli @('remove')
            Write-Check ($run.ExitCode -eq 0) 'remove blanked the secret'
        } catch {
            Write-Check $false "remove: $($_.Exception.Message)"
        }
    }
    try {
        Restore-Winlogon $saved
        $differ = Compare-Winlogon $saved (Get-Winlogon)
        Write-Check ($differ -eq '') "the Winlogon values are as they were$(if ($differ) { ", except: $differ" })"
    } catch {
        Write-Check $false "putting the Winlogon values back: $($_.Exception.Message)"
    }
    if ($accountMade) {
        try {
            Remove-Account $name
            Write-Check (-not (Test-Account $name)) "account $name deleted"
        } catch {
            Write-Check $false "deleting account ${name}: $($_.Exception.Message)"
        }
    }
    try {
        $run = Invoke-Program $cliPath @('status', '--json')
        $status = ConvertFrom-Answer $run.Out
        $secretNow = Get-Field $status 'secret'
        if ($touched) {
            # A stored password cannot be put back; a blank secret holds none.
            Write-Check ($secretNow -eq 'absent') "the secret holds no password (it was $secretBefore before): $secretNow"
        } else {
            Write-Check ($secretNow -eq $secretBefore) "the secret is as it was, untouched: $secretNow"
        }
    } catch {
        Write-Check $false "status at the end: $($_.Exception.Message)"
    }
    $password = $null
    $wrong = $null
}

Write-Host ''
if ($script:FailedChecks -gt 0) {
    Write-Host "roundtrip: $($script:FailedChecks) check(s) failed"
    exit 1
}
Write-Host 'roundtrip: every check held'
exit 0
