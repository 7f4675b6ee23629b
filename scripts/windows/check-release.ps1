<#
.SYNOPSIS
    Checks a Tarvelin release on real Windows: its files against SHA256SUMS, the rights each
    program asks for, and that both programs start.
.DESCRIPTION
    Checks the zip in -Dist against SHA256SUMS, unpacks it into -Into (made anew) and checks
    both programs there against SHA256SUMS too. Reads the manifest that Windows reads at start
    (resource type RT_MANIFEST, id 1) from both: Tarvelin.exe must ask for requireAdministrator,
    tarvelin-cli.exe for asInvoker. Starts tarvelin-cli.exe (--version, status --json) and
    Tarvelin.exe, waits for its dialog and closes it with a posted WM_CLOSE.
    Needs an elevated prompt, since the dialog asks for administrator rights. Windows
    PowerShell 5.1 and later, no modules. Exit code 0 when every check holds, 1 when one
    failed, 2 when it could not run.
.EXAMPLE
    powershell -NoProfile -ExecutionPolicy Bypass -File check-release.ps1 -Dist .\dist -Into $env:TEMP\tarvelin
#>
[CmdletBinding()]
param(
    [Parameter(Mandatory = $true)] [string] $Dist,
    [Parameter(Mandatory = $true)] [string] $Into
)
Set-StrictMode -Version Latest
$ErrorActionPreference = 'Stop'
. (Join-Path $PSScriptRoot 'checks.ps1')
# Full paths: .NET resolves a relative one against the process's folder, not PowerShell's.
$Dist = (Resolve-Path -LiteralPath $Dist).Path
$Into = $ExecutionContext.SessionState.Path.GetUnresolvedProviderPathFromPSPath($Into)

Add-Type -TypeDefinition @'
using System;
using System.ComponentModel;
using System.Runtime.InteropServices;

public static class TarvelinRelease
{
    [DllImport("kernel32.dll", CharSet = CharSet.Unicode, SetLastError = true)]
    static extern IntPtr LoadLibraryExW(string path, IntPtr file, uint flags);
    [DllImport("kernel32.dll")]
    static extern bool FreeLibrary(IntPtr module);
    [DllImport("kernel32.dll")]
    static extern IntPtr FindResourceW(IntPtr module, IntPtr name, IntPtr type);
    [DllImport("kernel32.dll")]
    static extern uint SizeofResource(IntPtr module, IntPtr info);
    [DllImport("kernel32.dll")]
    static extern IntPtr LoadResource(IntPtr module, IntPtr info);
    [DllImport("kernel32.dll")]
    static extern IntPtr LockResource(IntPtr data);
    [DllImport("user32.dll", SetLastError = true)]
    public static extern bool PostMessageW(IntPtr window, uint message, IntPtr wParam, IntPtr lParam);

    // The manifest Windows reads when it starts the program (RT_MANIFEST 24, id 1), as text;
    // null when there is none.
    public static string Manifest(string path)
    {
        const uint asDataFile = 0x2, asImageResource = 0x20;
        IntPtr module = LoadLibraryExW(path, IntPtr.Zero, asDataFile | asImageResource);
        if (module == IntPtr.Zero)
            throw new Win32Exception();
        try
        {
            IntPtr info = FindResourceW(module, (IntPtr)1, (IntPtr)24);
            if (info == IntPtr.Zero)
                return null;
            byte[] bytes = new byte[SizeofResource(module, info)];
            Marshal.Copy(LockResource(LoadResource(module, info)), bytes, 0, bytes.Length);
            return System.Text.Encoding.UTF8.GetString(bytes);
        }
        finally
        {
            FreeLibrary(module);
        }
    }
}
'@

function Get-Sha256([string] $Path) {
    $sha = [System.Security.Cryptography.SHA256]::Create()
    $stream = [System.IO.File]::OpenRead($Path)
    try {
        return ([System.BitConverter]::ToString($sha.ComputeHash($stream)) -replace '-', '').ToLowerInvariant()
    } finally {
        $stream.Dispose()
        $sha.Dispose()
    }
}

# The level and uiAccess of the manifest's requestedExecutionLevel, as "level uiAccess".
function Get-ExecutionLevel([string] $Path) {
    $text = [TarvelinRelease]::Manifest($Path)
    if ($null -eq $text) {
        return '(no manifest)'
    }
    $manifest = New-Object System.Xml.XmlDocument
    $manifest.LoadXml($text.TrimStart([char]0xFEFF))
    $node = $manifest.SelectSingleNode("//*[local-name()='requestedExecutionLevel']")
    if ($null -eq $node) {
        return '(no requestedExecutionLevel)'
    }
    return "$($node.GetAttribute('level')) uiAccess=$($node.GetAttribute('uiAccess'))"
}

# Machine facts that decide what the checks mean: an elevated prompt starts a program that asks
# for administrator rights without any prompt, and with UAC off no program is ever asked about.
Write-Step 'This machine'
$system = Get-ItemProperty 'HKLM:\SOFTWARE\Microsoft\Windows NT\CurrentVersion'
$uac = Get-ItemProperty 'HKLM:\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System'
Write-Host "  $(Get-Field $system 'ProductName'), build $(Get-Field $system 'CurrentBuild'), PowerShell $($PSVersionTable.PSVersion)"
Write-Host "  UAC: EnableLUA=$(Get-Field $uac 'EnableLUA'), ConsentPromptBehaviorAdmin=$(Get-Field $uac 'ConsentPromptBehaviorAdmin')"
$elevated = Test-Elevated
Write-Host "  elevated prompt: $elevated"
if (-not $elevated) {
    Write-Host 'check-release: run this from an elevated prompt ("Run as administrator"): Tarvelin.exe asks for administrator rights.'
    exit 2
}

Write-Step 'The release against SHA256SUMS'
$sums = Join-Path $Dist 'SHA256SUMS'
$lines = @(Get-Content -LiteralPath $sums | Where-Object { $_ -ne '' })
$entries = @()
foreach ($line in $lines) {
    if ($line -notmatch '^([0-9a-f]{64}) [ *](.+)$') {
        Write-Check $false "SHA256SUMS line in the form of sha256sum: $line"
        continue
    }
    $entries += New-Object PSObject -Property @{ Hash = $Matches[1]; Name = $Matches[2] }
}
$zips = @($entries | Where-Object { $_.Name -like '*.zip' -and $_.Name -notlike '*/*' })
Write-Check ($zips.Count -eq 1) "SHA256SUMS names one zip ($($zips.Count))"
if ($zips.Count -ne 1) {
    exit 1
}
$zip = Join-Path $Dist $zips[0].Name
Write-Check ((Get-Sha256 $zip) -eq $zips[0].Hash) "$($zips[0].Name) matches its sum"
if (Test-Path -LiteralPath $Into) {
    Remove-Item -LiteralPath $Into -Recurse -Force
}
Add-Type -AssemblyName System.IO.Compression.FileSystem
[System.IO.Compression.ZipFile]::ExtractToDirectory($zip, $Into)
foreach ($entry in @($entries | Where-Object { $_.Name -like '*/*' })) {
    $file = Join-Path $Into ($entry.Name -replace '/', '\')
    $holds = (Test-Path -LiteralPath $file) -and ((Get-Sha256 $file) -eq $entry.Hash)
    Write-Check $holds "$($entry.Name) from the zip matches its sum"
}
$folder = [System.IO.Path]::GetFileNameWithoutExtension($zips[0].Name) # Tarvelin-1.01-x64
$dialog = Join-Path $Into "$folder\Tarvelin.exe"
$cli = Join-Path $Into "$folder\tarvelin-cli.exe"
foreach ($program in @($dialog, $cli)) {
    Write-Check (Test-Path -LiteralPath $program) "$program is in the zip"
}

Write-Step 'The rights each program asks Windows for'
$level = Get-ExecutionLevel $dialog
Write-Check ($level -eq 'requireAdministrator uiAccess=false') "Tarvelin.exe asks for administrator rights: $level"
$level = Get-ExecutionLevel $cli
Write-Check ($level -eq 'asInvoker uiAccess=false') "tarvelin-cli.exe runs with the rights of its prompt: $level"

Write-Step 'tarvelin-cli.exe starts'
$run = Invoke-Program $cli @('--version')
Write-Run 'tarvelin-cli --version' $run
Write-Check ($run.ExitCode -eq 0 -and $run.Out -like 'tarvelin-cli *') 'it names itself and its version, exit code 0'
$run = Invoke-Program $cli @('status', '--json')
Write-Run 'tarvelin-cli status --json' $run
$status = ConvertFrom-Answer $run.Out
Write-Check (@(0, 5, 6) -contains $run.ExitCode) 'status answers 0, 5 or 6: it read every value'
Write-Check ($null -ne $status -and (Get-Field $status 'secret') -ne 'unknown') 'one JSON object; the secret readable from an elevated prompt'

Write-Step 'Tarvelin.exe starts and its dialog closes'
# Started as CreateProcess starts it, never through a consent prompt that nobody on a runner
# could answer: from an elevated prompt Windows starts it at once.
$settings = Join-Path $env:APPDATA 'Vestrakona'
$settingsExisted = Test-Path -LiteralPath $settings
$info = New-Object System.Diagnostics.ProcessStartInfo
$info.FileName = $dialog
$info.WorkingDirectory = Split-Path -Parent $dialog
$info.UseShellExecute = $false
$process = [System.Diagnostics.Process]::Start($info)
try {
    $window = [IntPtr]::Zero
    for ($waited = 0; $waited -lt 30000 -and $window -eq [IntPtr]::Zero -and -not $process.HasExited; $waited += 200) {
        Start-Sleep -Milliseconds 200
        $process.Refresh()
        $window = $process.MainWindowHandle
    }
    Write-Check ($window -ne [IntPtr]::Zero) 'its dialog appeared within 30 s'
    if ($window -ne [IntPtr]::Zero) {
        # "Tarvelin 1.01 - x64" for Tarvelin-1.01-x64.zip.
        $title = $folder -replace '^Tarvelin-(.+)-(x64)$', 'Tarvelin $1 - $2'
        Write-Check ($process.MainWindowTitle -eq $title) "its title is `"$title`": `"$($process.MainWindowTitle)`""
        $WM_CLOSE = 0x0010
        Write-Check ([TarvelinRelease]::PostMessageW($window, $WM_CLOSE, [IntPtr]::Zero, [IntPtr]::Zero)) 'WM_CLOSE posted'
    }
    $ended = $process.WaitForExit(30000)
    Write-Check $ended 'it ended within 30 s of WM_CLOSE'
    if ($ended) {
        Write-Check ($process.ExitCode -eq 0) "exit code 0: $($process.ExitCode)"
    } else {
        $process.Kill()
    }
} finally {
    $process.Dispose()
}
# The dialog makes its per-user settings folders at every start; where this run made them, they
# go again (only while empty).
if (-not $settingsExisted -and (Test-Path -LiteralPath $settings)) {
    foreach ($made in @((Join-Path $settings 'Tarvelin'), $settings)) {
        try {
            [System.IO.Directory]::Delete($made)
        } catch {
            Write-Host "  left $made ($($_.Exception.Message))"
        }
    }
}

Write-Host ''
if ($script:FailedChecks -gt 0) {
    Write-Host "check-release: $($script:FailedChecks) check(s) failed"
    exit 1
}
Write-Host 'check-release: every check held'
exit 0
