// One configuration's life under the stand-in for the dsc engine (dsc_standin.js), as each
// release line of dsc (3.1, and 3.2 and later) drives the resource: the manifest the build
// writes, beside tarvelin-cli-standin.exe under the name the manifest gives (tarvelin-cli.exe),
// so that the secret is kept across runs as the real store keeps it and LogonUserW refuses on
// request. The stand-in checks the instance and every state against the manifest's schema;
// here, each command's result, the machine afterwards, that what dsc compares agrees with the
// resource's verdict, and that the password appears in no output at all, at the most
// talkative trace level, but where dsc 3.1 itself shows it.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { spawn, spawnSync } = require('node:child_process');

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
  '', `[-${secretKey.replace('HKLM', 'HKEY_LOCAL_MACHINE')}]`,
  '', '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]', '"AutoAdminLogon"=-', ''].join('\r\n'));
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

const releases = { '3.1.1': { PATH: `${folder}${path.delimiter}${process.env.PATH}` }, '3.3.0': {} };
// One dsc command (e.g. 'config set --what-if') under `release`: its result, and all it said.
const dsc = (release, command, instance, env = {}) => {
  const args = [path.join(__dirname, 'dsc_standin.js'), '--release', release, manifest, ...command.split(' ')];
  if (instance !== undefined) args.push(typeof instance === 'string' ? instance : JSON.stringify(instance));
  const run = spawnSync(process.execPath, args, {
    encoding: 'utf8',
    env: { ...process.env, DSC_TRACE_LEVEL: 'trace', ...releases[release], ...env },
    maxBuffer: 1 << 24,
  });
  const result = run.stdout ? JSON.parse(run.stdout.split('\n')[0]) : null;
  // dsc before 3.2.0 shows a secureString in its own results: the desired instance (test) and
  // beforeState when nothing changes; the resource's own output never.
  const own = release < '3.2' ? JSON.stringify(result, (k, v) => (/^(desiredState|beforeState)$/.test(k) ? undefined : v)) : run.stdout;
  const said = own + run.stderr;
  assert.ok(!said.includes(password) && !said.includes('Dsc-Pw-4417'), `${command}: the password is in the output:\n${said}`);
  return { status: run.status, result, said };
};

test.beforeEach(clean);
test.after(clean);

for (const release of Object.keys(releases)) {
  test(`${release}: a configuration from drift to set, in the desired state, and off again`, () => {
    const refusing = { TARVELIN_STANDIN_LOGON_ERROR: '1326' }; // LogonUserW would refuse
    // [command, instance, what the result must hold (dsc's key, then the state's), environment]
    const life = [
      ['config test', on, { inDesiredState: false, _exist: false }, refusing], // test never logs on
      ['config set --what-if', on, { _exist: true, user: 'PC\\kiosk', domain: 'PC' }],
      ['resource test', on, { inDesiredState: false }], // the what-if changed nothing
      ['config set', on, { _exist: true, user: 'PC\\kiosk', domain: 'PC', problems: [] }],
      ['config test', on, { inDesiredState: true }, refusing],
      ['config test', { ...on, user: 'pc\\KIOSK' }, { inDesiredState: true, user: 'pc\\KIOSK' }],
      // A secure value is never compared by dsc: a password that differs shows as one in plain text.
      ['resource test', { ...on, password: 'another' }, { inDesiredState: false }],
      ['resource get', undefined, { _exist: true, user: 'kiosk', domain: 'PC' }],
      ['resource export', undefined, { _exist: true, user: 'kiosk' }],
      ['config set', on, { changedProperties: null }], // in the desired state: set is not run
      // set without test first, the machine as wanted: no logon, though it would be refused
      ['resource set', { ...on, checkCredentials: true }, { changedProperties: [], checkCredentials: true }, refusing],
      ['config set --what-if', off, { _exist: false }],
      ['resource set', off, { _exist: false, user: 'kiosk' }],
      ['config test', off, { inDesiredState: true }],
      ['resource test', on, { inDesiredState: false }],
      ['config set', off, { _exist: false }], // again: nothing to change
    ];
    for (const [command, instance, expected, env] of life) {
      const { status, result, said } = dsc(release, command, instance, env);
      const step = `${release} ${command} ${JSON.stringify(instance)}`;
      assert.strictEqual(status, 0, `${step}: ${said}`);
      const outcome = command.startsWith('config') ? result.results[0].result : result;
      const state = outcome.afterState || outcome.actualState || outcome.resources[0].properties;
      for (const [key, wanted] of Object.entries(expected)) assert.deepStrictEqual(key in outcome ? outcome[key] : state[key], wanted, `${step}: ${key} in ${JSON.stringify(outcome)}`);
      if ('differingProperties' in outcome && release >= '3.2') assert.strictEqual(outcome.differingProperties.length === 0, outcome.inDesiredState, `${step}: ${said}`);
      if (command === 'config set' && instance === on) {
        assert.match(said, /WARN: [^\n]*tarvelin-cli\.exe/, 'Wine makes every file its user\'s: others may write');
        assert.strictEqual(value(winlogon, 'DefaultUserName'), 'kiosk');
        assert.strictEqual(value(winlogon, 'DefaultPassword'), null, 'no password in Winlogon');
        assert.strictEqual(value(secretKey, 'DefaultPassword'), utf16Hex, 'the secret holds the password as UTF-16');
      }
    }
    assert.strictEqual(value(winlogon, 'AutoAdminLogon'), '0');
    assert.strictEqual(value(secretKey, 'DefaultPassword'), null, 'the secret is gone');
  });
}

test('fix in the instance: drift while a named cause stands, repaired in the same set', () => {
  // A value that set never touches: AutoAdminLogon in the 32-bit view, where Windows never reads it.
  const fixing = { ...on, fix: ['wow64-leftovers'] };
  const leftover = () => reg('query', winlogon, '/v', 'AutoAdminLogon', '/reg:32').status === 0;
  assert.strictEqual(dsc('3.3.0', 'config set', on).status, 0);
  assert.strictEqual(reg('add', winlogon, '/v', 'AutoAdminLogon', '/d', '0', '/f', '/reg:32').status, 0);
  for (const [command, expected] of [['config test', { inDesiredState: false }], ['config set', {}],
    ['config test', { inDesiredState: true, fix: ['wow64-leftovers'], differingProperties: [] }]]) {
    const { status, result, said } = dsc('3.3.0', command, fixing);
    assert.strictEqual(status, 0, `${command}: ${said}`);
    const outcome = result.results[0].result;
    const state = outcome.afterState || outcome.actualState;
    for (const [key, wanted] of Object.entries(expected)) assert.deepStrictEqual(key in outcome ? outcome[key] : state[key], wanted, `${command}: ${key} in ${JSON.stringify(outcome)}`);
  }
  assert.ok(!leftover(), 'the 32-bit view\'s AutoAdminLogon is gone');
});

test('get and export take no input when none comes, where dsc lets them inherit its own', async () => {
  for (const command of ['resource get', 'resource export']) {
    const started = Date.now();
    // dsc 3.1 started from a pipe that never closes, as in an ssh session without a terminal
    const child = spawn(process.execPath, [path.join(__dirname, 'dsc_standin.js'), '--release', '3.1.1', manifest, ...command.split(' ')],
      { env: { ...process.env, ...releases['3.1.1'] }, stdio: ['pipe', 'pipe', 'inherit'] });
    const status = await new Promise((done) => {
      const timer = setTimeout(() => child.kill(), 30000);
      child.on('exit', (code) => done(clearTimeout(timer) || code));
    });
    assert.strictEqual(status, 0, `${command} returned within 30 s`);
    console.log(`${command} with a pipe that never closes: ${Date.now() - started} ms`);
  }
});

test('bad input changes nothing and ends with the code the manifest names', () => {
  const refusals = [
    ['method set', '{"user":"kiosk",', 2, /invalid-json/],
    ['method set', { ...on, colour: 'blue' }, 2, /unknown-property/],
    ['method set', '{"user":"a","user":"b","password":"p"}', 2, /duplicate-key/],
    ['method set', JSON.stringify({ ...on, pad: 'x'.repeat(70000) }), 2, /too-large/],
    ['resource set', { ...on, logonCount: '3' }, 1, /Schema: "3" is not of type "integer"/], // dsc's own
    ['resource set', { ...on, password: 12345678 }, 2, /wrong-type/], // never shown by dsc
    ['resource set', { user: 'kiosk' }, 2, /missing-password/],
    ['resource test', { user: 'PC\\kiosk\\x', password }, 2, /--user takes NAME or DOMAIN/],
    ['resource set', { ...on, domain: 'PC' }, 2, /domain is given twice/],
    ['resource set', on, 3, /user name or the password is wrong/, { TARVELIN_STANDIN_LOGON_ERROR: '1326' }],
  ];
  for (const [command, instance, status, words, env] of refusals) {
    const run = dsc('3.3.0', command, instance, env);
    assert.strictEqual(run.status, 1, `${command} ${instance}: the engine sees a failure`);
    if (status > 1) assert.match(run.said, new RegExp(`exit code ${status}: `), run.said);
    assert.match(run.said, words);
    assert.ok(!run.said.includes('12345678'), run.said);
    assert.strictEqual(value(winlogon, 'AutoAdminLogon'), null, 'nothing was written');
    assert.strictEqual(value(secretKey, 'DefaultPassword'), null, 'no secret was stored');
  }
});
