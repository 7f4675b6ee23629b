<#
.SYNOPSIS
    A round trip of tarvelin-cli on real Windows, with a throwaway local account.
.DESCRIPTION
    Makes a local account with a random name and a password that never expires; the password
    exists only in this process, reaches tarvelin-cli only through standard input, and under
    GitHub Actions is masked in the log before anything can print it. Then, step by step, each
    printed with what it checked:
      1. status before, in words and as JSON;
      2. set with a wrong password exits 3, names the reason and changes nothing;
      3. set --check with the right password, piped the way the README shows for PowerShell:
         exit 7, nothing changed;
      4. set: exit 0, the Winlogon values as asked, no password in the registry, and the
         secret, read straight from the LSA, holds the password;
      5. status --json: automatic logon on, the secret present, no problem (warnings shown);
      6. a second set changes nothing;
      7. remove: the secret no longer exists;
      8. a second remove changes nothing and creates no secret;
      9. status: automatic logon off, the secret gone.
    What tarvelin-cli prints is read as bytes and searched for both passwords in UTF-8,
    UTF-16LE and the OEM and ANSI code pages before it is shown.
    Whatever fails, at the end the secret is deleted (remove), the Winlogon values that
    tarvelin-cli touches are written back as they were (those that were absent deleted again)
    and the account is deleted, each checked.
    Needs an elevated prompt. Windows PowerShell 5.1 and later, no modules. Exit code 0 when
    every check held, 1 when one failed, 2 when it did not start (the message says why).
.PARAMETER Cli
    The tarvelin-cli.exe to test.
.PARAMETER DiscardStoredPassword
    Run also where a password is already stored as the DefaultPassword secret (or the secret
    cannot be read). Nothing can put that password back: at the end the secret is gone.
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

Add-Type -TypeDefinition @'
using System;
using System.Runtime.InteropServices;
using System.Text;

// What the round trip asks Windows itself, beside tarvelin-cli: the DefaultPassword secret
// straight from the LSA, the throwaway account through the Net API, and whether a program's
// output holds a password. A failed call throws with the API's own number.
public static class TarvelinRoundTrip
{
    [StructLayout(LayoutKind.Sequential)]
    struct LsaUnicodeString
    {
        public ushort Length;
        public ushort MaximumLength;
        public IntPtr Buffer;
    }

    [StructLayout(LayoutKind.Sequential)]
    struct LsaObjectAttributes
    {
        public int Length;
        public IntPtr RootDirectory;
        public IntPtr ObjectName;
        public uint Attributes;
        public IntPtr SecurityDescriptor;
        public IntPtr SecurityQualityOfService;
    }

    // USER_INFO_1, its texts as pointers so that the password's copy can be wiped.
    [StructLayout(LayoutKind.Sequential)]
    struct UserInfo1
    {
        public IntPtr Name;
        public IntPtr Password;
        public uint PasswordAge;
        public uint Privilege;
        public IntPtr HomeDir;
        public IntPtr Comment;
        public uint Flags;
        public IntPtr ScriptPath;
    }

    [DllImport("advapi32.dll")]
    static extern uint LsaOpenPolicy(IntPtr system, ref LsaObjectAttributes attributes, uint access, out IntPtr policy);
    [DllImport("advapi32.dll")]
    static extern uint LsaOpenSecret(IntPtr policy, ref LsaUnicodeString name, uint access, out IntPtr secret);
    [DllImport("advapi32.dll")]
    static extern uint LsaQuerySecret(IntPtr secret, ref IntPtr currentValue, IntPtr currentValueSetTime,
                                      IntPtr oldValue, IntPtr oldValueSetTime);
    [DllImport("advapi32.dll")]
    static extern uint LsaFreeMemory(IntPtr buffer);
    [DllImport("advapi32.dll")]
    static extern uint LsaClose(IntPtr handle);
    [DllImport("netapi32.dll", CharSet = CharSet.Unicode)]
    static extern uint NetUserAdd(string server, uint level, ref UserInfo1 info, out uint parameterError);
    [DllImport("netapi32.dll", CharSet = CharSet.Unicode)]
    static extern uint NetUserGetInfo(string server, string name, uint level, out IntPtr info);
    [DllImport("netapi32.dll", CharSet = CharSet.Unicode)]
    static extern uint NetUserDel(string server, string name);
    [DllImport("netapi32.dll")]
    static extern uint NetApiBufferFree(IntPtr buffer);
    [DllImport("kernel32.dll")]
    static extern uint GetOEMCP();
    [DllImport("kernel32.dll")]
    static extern uint GetACP();

    const uint StatusObjectNameNotFound = 0xC0000034;
    const uint PolicyGetPrivateInformation = 0x4;
    const uint SecretQueryValue = 0x2;
    const uint NerrUserNotFound = 2221;
    public const uint UfScript = 0x1;
    public const uint UfDontExpirePasswd = 0x10000;

    static void Check(uint status, string call)
    {
        if (status != 0)
            throw new InvalidOperationException(call + " failed: 0x" + status.ToString("X8") + " (" + status + ")");
    }

    // The secret's current value against the password: "absent" where no secret of that name
    // exists, "no-value" where it has none, "password" where it is the password as UTF-16LE,
    // else "other". The value is compared where the LSA put it, wiped there and freed; no copy
    // of it is made.
    public static string SecretState(string name, string password)
    {
        LsaObjectAttributes attributes = new LsaObjectAttributes();
        attributes.Length = Marshal.SizeOf(typeof(LsaObjectAttributes));
        IntPtr policy;
        Check(LsaOpenPolicy(IntPtr.Zero, ref attributes, PolicyGetPrivateInformation, out policy), "LsaOpenPolicy");
        IntPtr nameBuffer = Marshal.StringToHGlobalUni(name);
        try
        {
            LsaUnicodeString secretName = new LsaUnicodeString();
            secretName.Buffer = nameBuffer;
            secretName.Length = (ushort)(name.Length * 2);
            secretName.MaximumLength = secretName.Length;
            IntPtr secret;
            uint status = LsaOpenSecret(policy, ref secretName, SecretQueryValue, out secret);
            if (status == StatusObjectNameNotFound)
                return "absent";
            Check(status, "LsaOpenSecret");
            try
            {
                IntPtr current = IntPtr.Zero;
                Check(LsaQuerySecret(secret, ref current, IntPtr.Zero, IntPtr.Zero, IntPtr.Zero), "LsaQuerySecret");
                if (current == IntPtr.Zero)
                    return "no-value";
                try
                {
                    return HoldsExactly(current, password) ? "password" : "other";
                }
                finally
                {
                    Wipe(current);
                    LsaFreeMemory(current);
                }
            }
            finally
            {
                LsaClose(secret);
            }
        }
        finally
        {
            Marshal.FreeHGlobal(nameBuffer);
            LsaClose(policy);
        }
    }

    static bool HoldsExactly(IntPtr value, string password)
    {
        LsaUnicodeString text = (LsaUnicodeString)Marshal.PtrToStructure(value, typeof(LsaUnicodeString));
        byte[] expected = Encoding.Unicode.GetBytes(password);
        try
        {
            if (text.Length != expected.Length)
                return false;
            bool same = true;
            for (int i = 0; i < expected.Length; i++)
                same &= Marshal.ReadByte(text.Buffer, i) == expected[i];
            return same;
        }
        finally
        {
            Array.Clear(expected, 0, expected.Length);
        }
    }

    static void Wipe(IntPtr value)
    {
        LsaUnicodeString text = (LsaUnicodeString)Marshal.PtrToStructure(value, typeof(LsaUnicodeString));
        if (text.Buffer != IntPtr.Zero)
            for (int i = 0; i < text.MaximumLength; i++)
                Marshal.WriteByte(text.Buffer, i, 0);
    }

    // A local account whose password never expires and need not be changed. The password
    // goes to NetUserAdd in this process's memory, never on a command line, and its copy
    // there is wiped.
    public static void AddUser(string name, string password, string comment)
    {
        UserInfo1 info = new UserInfo1();
        info.Privilege = 1; // USER_PRIV_USER
        info.Flags = UfScript | UfDontExpirePasswd;
        try
        {
            info.Name = Marshal.StringToHGlobalUni(name);
            info.Password = Marshal.StringToHGlobalUni(password);
            info.Comment = Marshal.StringToHGlobalUni(comment);
            uint parameter;
            Check(NetUserAdd(null, 1, ref info, out parameter), "NetUserAdd");
        }
        finally
        {
            Marshal.FreeHGlobal(info.Name);
            if (info.Password != IntPtr.Zero)
                Marshal.ZeroFreeGlobalAllocUnicode(info.Password);
            Marshal.FreeHGlobal(info.Comment);
        }
    }

    // The account's flags (USER_INFO_1), or -1 where no account has that name.
    public static long UserFlags(string name)
    {
        IntPtr buffer;
        uint status = NetUserGetInfo(null, name, 1, out buffer);
        if (status == NerrUserNotFound)
            return -1;
        Check(status, "NetUserGetInfo");
        try
        {
            return ((UserInfo1)Marshal.PtrToStructure(buffer, typeof(UserInfo1))).Flags;
        }
        finally
        {
            NetApiBufferFree(buffer);
        }
    }

    public static void DeleteUser(string name)
    {
        Check(NetUserDel(null, name), "NetUserDel");
    }

    // Whether the bytes hold the text in any form a program could write it in: UTF-8, UTF-16LE,
    // or this machine's OEM or ANSI code page (a character that has no code there as the code
    // page writes it in its stead).
    public static bool Holds(byte[] bytes, string text)
    {
        if (bytes == null)
            return false;
        Encoding[] forms = { Encoding.UTF8, Encoding.Unicode, Encoding.GetEncoding((int)GetOEMCP()),
                             Encoding.GetEncoding((int)GetACP()) };
        bool found = false;
        foreach (Encoding form in forms)
        {
            byte[] needle = form.GetBytes(text);
            found |= IndexOf(bytes, needle) >= 0;
            Array.Clear(needle, 0, needle.Length);
        }
        return found;
    }

    static int IndexOf(byte[] bytes, byte[] needle)
    {
        for (int start = 0; start + needle.Length <= bytes.Length; start++)
        {
            int i = 0;
            while (i < needle.Length && bytes[start + i] == needle[i])
                i++;
            if (i == needle.Length)
                return start;
        }
        return -1;
    }
}
'@

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

# The account through the Net API (above): no module (Get-LocalUser needs one), and a plain
# answer for a missing account (NERR_UserNotFound), where [ADSI]::Exists throws 0x800708AD
# instead of saying false.
function Test-Account([string] $Name) {
    return [TarvelinRoundTrip]::UserFlags($Name) -ge 0
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
    Write-Host "roundtrip: the DefaultPassword secret is $secretBefore here, and no one can put a stored password back: the round trip would delete it. Run it on a test machine with -DiscardStoredPassword."
    exit 2
}

# From here on the console speaks UTF-8 without a byte-order mark: PowerShell decodes a native
# program's output in step 3 with it (else in the OEM code page, where a password's character
# outside ASCII would not be found), and writes the log with it. The Actions runner has
# switched its console to code page 65001 already; a prompt opened by hand has not.
$consoleEncoding = [Console]::OutputEncoding
[Console]::OutputEncoding = New-Object System.Text.UTF8Encoding($false)

$random = [System.Security.Cryptography.RandomNumberGenerator]::Create()
$name = 'tvrt' + (New-RandomText $random '0123456789abcdef' 8)
$password = New-Password $random
# Wrong in its last character only.
$last = $password[$password.Length - 1]
$wrong = $password.Substring(0, $password.Length - 1) + $(if ($last -ceq 'x') { 'y' } else { 'x' })
if ($env:GITHUB_ACTIONS -eq 'true') {
    # The runner hides both wherever they would appear in the log from here on, and shows
    # neither line. It reads "%25" in a command's data as "%", so a "%" goes as "%25". By
    # hand there is no one to hide them: the lines would show them.
    Write-Host "::add-mask::$($password.Replace('%', '%25'))"
    Write-Host "::add-mask::$($wrong.Replace('%', '%25'))"
}
$user = "$computer\$name"
$accountMade = $false
$touched = $false  # a set has run
$changing = $false # ... and may have stored something that no remove has deleted since

# True when a program's output holds either password, in any form it could have written it in.
function Test-Leak([byte[]] $Bytes) {
    foreach ($secretText in @($password, $wrong)) {
        if ([TarvelinRoundTrip]::Holds($Bytes, $secretText)) {
            return $true
        }
    }
    return $false
}

# A run of tarvelin-cli, its output searched for the passwords before it is shown.
function Invoke-Cli([string[]] $Arguments, $InputText = $null) {
    $run = Invoke-Program $cliPath $Arguments $InputText
    $leaked = (Test-Leak $run.OutBytes) -or (Test-Leak $run.ErrBytes)
    Write-Check (-not $leaked) "tarvelin-cli $($Arguments -join ' '): no password in what it printed"
    if ($leaked) {
        Write-Host "  (not shown; exit code $($run.ExitCode))"
    } else {
        Write-Run "tarvelin-cli $($Arguments -join ' ')" $run
    }
    return $run
}

# The DefaultPassword secret as the LSA holds it, read beside tarvelin-cli: absent, no-value,
# password or other; or why it could not be read, which fails the check that asks.
function Get-Secret {
    try {
        return [TarvelinRoundTrip]::SecretState('DefaultPassword', $password)
    } catch {
        return "unreadable ($($_.Exception.Message))"
    }
}

function Test-Unchanged([string] $What) {
    $differ = Compare-Winlogon $saved (Get-Winlogon)
    Write-Check ($differ -eq '') "$What changed no Winlogon value$(if ($differ) { ": $differ" })"
    $secret = Get-Secret
    Write-Check ($secret -eq $secretStart -and @('absent', 'no-value', 'other') -contains $secret) "$What left the secret as it was, read from the LSA: $secret"
}

try {
    Write-Step "Account $user"
    [TarvelinRoundTrip]::AddUser($name, $password, 'Tarvelin round trip; deleted at its end')
    $accountMade = $true
    $flags = [TarvelinRoundTrip]::UserFlags($name)
    Write-Check ($flags -ge 0) "local account $name made, with a random password of $($password.Length) characters"
    Write-Check ($flags -ge 0 -and ($flags -band [TarvelinRoundTrip]::UfDontExpirePasswd) -ne 0) "its password never expires (flags 0x$('{0:X}' -f $flags))"
    $touched = $true
    $changing = $true
    $secretStart = Get-Secret
    Write-Host "  the DefaultPassword secret, read from the LSA: $secretStart"

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
    $leaked = Test-Leak ([System.Text.Encoding]::UTF8.GetBytes($out + "`n" + $err))
    Write-Check (-not $leaked) 'no password in what it printed'
    if (-not $leaked) {
        $run = New-Object PSObject -Property @{ ExitCode = $exitCode; Out = $out; Err = $err }
        Write-Run "`$password | tarvelin-cli set --user $name --check --json" $run
    }
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
    $secret = Get-Secret
    Write-Check ($secret -eq 'password') "the DefaultPassword secret, read from the LSA, holds the password as UTF-16LE: $secret"

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
    $secret = Get-Secret
    Write-Check ($secret -eq 'password') "the secret, read from the LSA, still holds the password: $secret"

    Write-Step '7. remove'
    $run = Invoke-Cli @('remove', '--json')
    $answer = ConvertFrom-Answer $run.Out
    Write-Check ($run.ExitCode -eq 0) "exit code 0: $($run.ExitCode)"
    Write-Check ((Get-Field $answer 'changed') -eq $true -and (Get-Field $answer 'after.AutoAdminLogon') -eq '0' -and
                 (Get-Field $answer 'after.secret') -eq 'absent') 'AutoAdminLogon 0, the secret deleted'
    $changing = $run.ExitCode -ne 0
    $secret = Get-Secret
    Write-Check ($secret -eq 'absent') "the secret, read from the LSA, no longer exists: $secret"

    Write-Step '8. remove again'
    $run = Invoke-Cli @('remove', '--json')
    $answer = ConvertFrom-Answer $run.Out
    Write-Check ($run.ExitCode -eq 0 -and (Get-Field $answer 'changed') -eq $false) "exit code 0, nothing changed: $($run.ExitCode)"
    $secret = Get-Secret
    Write-Check ($secret -eq 'absent') "no secret was made again: $secret"

    Write-Step '9. status after'
    $run = Invoke-Cli @('status', '--json')
    $status = ConvertFrom-Answer $run.Out
    Write-Check ($run.ExitCode -eq 5) "exit code 5, automatic logon off: $($run.ExitCode)"
    Write-Check ((Get-Field $status 'enabled') -eq $false -and (Get-Field $status 'secret') -eq 'absent') 'off, and the secret gone'
} catch {
    Write-Check $false "the round trip stopped: $($_.Exception.Message)"
} finally {
    $ErrorActionPreference = 'Stop'
    Write-Step 'Putting the machine back'
    if ($changing) {
        try {
            $run = Invoke-Cli @('remove')
            Write-Check ($run.ExitCode -eq 0) 'remove deleted the secret'
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
            [TarvelinRoundTrip]::DeleteUser($name)
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
            # A stored password cannot be put back; a deleted secret holds none.
            $secret = Get-Secret
            Write-Check ($secretNow -eq 'absent' -and $secret -eq 'absent') "the secret is gone (it was $secretBefore before): $secretNow, read from the LSA: $secret"
        } else {
            Write-Check ($secretNow -eq $secretBefore) "the secret is as it was, untouched: $secretNow"
        }
    } catch {
        Write-Check $false "status at the end: $($_.Exception.Message)"
    }
    $password = $null
    $wrong = $null
    [Console]::OutputEncoding = $consoleEncoding
}

Write-Host ''
if ($script:FailedChecks -gt 0) {
    Write-Host "roundtrip: $($script:FailedChecks) check(s) failed"
    exit 1
}
Write-Host 'roundtrip: every check held'
exit 0
