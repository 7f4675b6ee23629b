// One configuration's life under the stand-in for the dsc engine (dsc_standin.js), as dsc
// drives the resource: the manifest the build writes, beside tarvelin-cli-standin.exe under the
// name the manifest gives (tarvelin-cli.exe), so that the secret is kept across runs as the real
// store keeps it and LogonUserW refuses on request. Every output is validated against the
// manifest's schema by the stand-in; here, each step's exit and state, the machine afterwards,
// and that the password appears in no output at all, at the most talkative trace level.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { spawnSync } = require('node:child_process');

const root = path.resolve(__dirname, '..', '..');
const build = process.env.TARVELIN_BUILD;
const folder = path.join(build, 'tests', 'dsc', 'resource');
fs.mkdirSync(folder, { recursive: true });
fs.copyFileSync(path.join(build, 'tarvelin.dsc.resource.json'), path.join(folder, 'tarvelin.dsc.resource.json'));
fs.copyFileSync(path.join(build, 'tests', 'e2e', 'tarvelin-cli-standin.exe'), path.join(folder, 'tarvelin-cli.exe'));
const manifest = path.join(folder, 'tarvelin.dsc.resource.json');

const winlogon = 'HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon';
const secretKey = 'HKLM\\Software\\TarvelinTest';
const reg = (...args) => spawnSync(path.join(root, 'scripts', 'wine-run.sh'), ['reg.exe', ...args], { encoding: 'utf8' });
// Automatic logon's values and the stand-in's secret deleted, in one run of reg.exe.
const cleaner = path.join(folder, 'clean.reg');
fs.writeFileSync(cleaner, ['REGEDIT4', '', `[${winlogon.replace('HKLM', 'HKEY_LOCAL_MACHINE')}]`,
  ...['AutoAdminLogon', 'DefaultDomainName', 'DefaultUserName', 'DefaultPassword', 'AutoLogonCount'].map((v) => `"${v}"=-`),
  '', `[-${secretKey.replace('HKLM', 'HKEY_LOCAL_MACHINE')}]`, ''].join('\r\n'));
const clean = () => assert.strictEqual(reg('import', `Z:${cleaner.replaceAll('/', '\\')}`).status, 0);
// A value as reg.exe shows it, or null.
const value = (key, name) => {
  const found = new RegExp(`^\\s+${name}\\s+REG_\\w+\\s+(.*)$`, 'm').exec(reg('query', key, '/s').stdout);
  return found ? found[1].trim() : null;
};

const password = 'Dsc-Pw-4417-\u00e4\u20ac';
const utf16Hex = Buffer.from(password, 'utf16le').toString('hex').toUpperCase();
const on = { user: 'PC\\kiosk', password: { secureString: password } };
const off = { _exist: false };

const dsc = (method, instance, env = {}) => {
  const args = [path.join(__dirname, 'dsc_standin.js'), manifest, method];
  if (instance !== undefined) args.push(typeof instance === 'string' ? instance : JSON.stringify(instance));
  const run = spawnSync(process.execPath, args, {
    encoding: 'utf8',
    env: { ...process.env, DSC_TRACE_LEVEL: 'trace', ...env },
    maxBuffer: 1 << 24,
  });
  const said = run.stdout + run.stderr;
  assert.ok(!said.includes(password) && !said.includes('Dsc-Pw-4417'), `${method}: the password is in the output:\n${said}`);
  return { status: run.status, state: run.stdout ? JSON.parse(run.stdout.split('\n')[0]) : null, said };
};

test.beforeEach(clean);
test.after(clean);

test('a configuration from drift to set, in the desired state, and off again', () => {
  const refusing = { TARVELIN_STANDIN_LOGON_ERROR: '1326' }; // LogonUserW would refuse
  // [method, instance, what the state must hold, environment]
  const life = [
    ['test', on, { _inDesiredState: false, _exist: false }, refusing], // test never logs on
    ['whatIf', on, { _exist: true, user: 'kiosk', domain: 'PC' }],
    ['test', on, { _inDesiredState: false }], // the what-if changed nothing
    ['set', on, { _exist: true, user: 'kiosk', domain: 'PC', problems: [] }],
    ['test', on, { _inDesiredState: true }, refusing],
    ['test', { ...on, user: 'pc\\KIOSK' }, { _inDesiredState: true }], // names as Windows compares them
    ['test', { ...on, password: 'another' }, { _inDesiredState: false }],
    ['get', undefined, { _exist: true, user: 'kiosk', domain: 'PC' }],
    ['export', undefined, { _exist: true, user: 'kiosk' }],
    ['set', on, { _exist: true }], // again: nothing to change
    ['whatIf', off, { _exist: false }],
    ['set', off, { _exist: false, user: 'kiosk' }],
    ['test', off, { _inDesiredState: true }],
    ['test', on, { _inDesiredState: false }],
    ['set', off, { _exist: false }], // again: nothing to change
  ];
  for (const [method, instance, expected, env] of life) {
    const { status, state, said } = dsc(method, instance, env);
    const step = `${method} ${JSON.stringify(instance)}`;
    assert.strictEqual(status, 0, `${step}: ${said}`);
    for (const [key, wanted] of Object.entries(expected)) assert.deepStrictEqual(state[key], wanted, `${step}: ${key} in ${JSON.stringify(state)}`);
    if (method === 'set' && instance === on) {
      assert.strictEqual(value(winlogon, 'DefaultUserName'), 'kiosk');
      assert.strictEqual(value(winlogon, 'DefaultPassword'), null, 'no password in Winlogon');
      assert.strictEqual(value(secretKey, 'DefaultPassword'), utf16Hex, 'the secret holds the password as UTF-16');
    }
  }
  assert.strictEqual(value(winlogon, 'AutoAdminLogon'), '0');
  assert.strictEqual(value(secretKey, 'DefaultPassword'), null, 'the secret is gone');
});

test('bad input changes nothing and ends with the code the manifest names', () => {
  const refusals = [
    ['set', '{"user":"kiosk",', 2, /invalid-json/],
    ['set', { ...on, colour: 'blue' }, 2, /unknown-property/],
    ['set', { ...on, logonCount: '3' }, 2, /wrong-type/],
    ['set', '{"user":"a","user":"b","password":"p"}', 2, /duplicate-key/],
    ['set', { user: 'kiosk' }, 2, /missing-password/],
    ['test', { user: 'PC\\kiosk\\x', password }, 2, /--user takes NAME or DOMAIN/],
    ['set', { ...on, domain: 'PC' }, 2, /domain is given twice/],
    ['set', JSON.stringify({ ...on, pad: 'x'.repeat(70000) }), 2, /too-large/],
    ['set', on, 3, /user name or the password is wrong/, { TARVELIN_STANDIN_LOGON_ERROR: '1326' }],
  ];
  for (const [method, instance, status, words, env] of refusals) {
    const run = dsc(method, instance, env);
    assert.strictEqual(run.status, 1, `${method} ${instance}: the engine sees a failure`);
    assert.match(run.said, new RegExp(`exit code ${status}: `), run.said);
    assert.match(run.said, words);
    assert.strictEqual(value(winlogon, 'AutoAdminLogon'), null, 'nothing was written');
    assert.strictEqual(value(secretKey, 'DefaultPassword'), null, 'no secret was stored');
  }
});
