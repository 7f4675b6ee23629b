// What make dist writes (scripts/dist.sh into a scratch folder whose path holds a blank and an
// "&", as does TMPDIR), checked on the files: both package manifests name the zip by its own
// hash and the program's version, name only files that are in it, and SHA256SUMS holds for
// everything it lists. Then the signing path with a throwaway self-signed certificate: both
// programs verify against it and still pass the release checks, a second make dist of the same
// version is refused unless REPLACE=1, which then writes the same bytes, and a failed signing
// leaves no release behind.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const crypto = require('node:crypto');
const { execFileSync, spawnSync } = require('node:child_process');

const root = path.resolve(__dirname, '..', '..');
const build = process.env.TARVELIN_BUILD;
const YAML = require(path.join(root, 'build', 'tools', 'node_modules', 'yaml'));
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvelin dist & '));
test.after(() => fs.rmSync(tmp, { recursive: true, force: true }));

const version = /TARVELIN_TITLE_VERSION "(.+)"/.exec(fs.readFileSync(path.join(root, 'res/version.h'), 'utf8'))[1];
const folder = `Tarvelin-${version}-x64`;
const sha256 = (data) => crypto.createHash('sha256').update(data).digest('hex');
const run = (file, args, env = {}) => spawnSync(file, args, { encoding: 'utf8', env: { ...process.env, ...env } });
const release = (out, env) => ({ TARVELIN_BUILD: build, DIST_DIR: out, TMPDIR: tmp, ...env });
const dist = (out, env) => run(path.join(root, 'scripts/dist.sh'), [], release(out, env));
// As a maker runs it, from the project's own build, which is there already (-o: not made again).
const makeDist = (out, env) => run('make', ['-s', '-C', root, '-o', 'win64', 'dist'], release(out, { TARVELIN_BUILD: '', MAKEFLAGS: '', ...env }));
const read = (out, file) => fs.readFileSync(path.join(out, file), 'utf8');

function checkRelease(out) {
  const zip = path.join(out, `${folder}.zip`);
  const entries = execFileSync('unzip', ['-Z1', zip], { encoding: 'utf8' }).split('\n');
  const [manifest, installer, locale] = ['', '.installer', '.locale.en-US']
    .map((suffix) => YAML.parse(read(out, `winget/Vestrakona.Tarvelin${suffix}.yaml`)));
  const scoop = JSON.parse(read(out, 'scoop/tarvelin.json'));
  const scoop64 = scoop.architecture['64bit'];
  const zipHash = sha256(fs.readFileSync(zip));
  const zipUrl = installer.Installers[0].InstallerUrl;
  for (const [what, actual, expected] of [
    ['winget InstallerSha256', installer.Installers[0].InstallerSha256.toLowerCase(), zipHash],
    ['Scoop hash', scoop64.hash, zipHash],
    ['winget InstallerUrl', path.posix.basename(zipUrl), `${folder}.zip`],
    ['Scoop url', scoop64.url, zipUrl],
    ['Scoop autoupdate url', scoop.autoupdate.architecture['64bit'].url.replaceAll('$version', version), zipUrl],
    ...[manifest, installer, locale].map((m) => [`winget ${m.ManifestType} PackageVersion`, m.PackageVersion, version]),
    ['Scoop version', scoop.version, version],
  ]) {
    assert.strictEqual(actual, expected, what);
  }
  const named = [...installer.NestedInstallerFiles.map((f) => f.RelativeFilePath.replaceAll('\\', '/')),
                 ...scoop.bin.map((file) => `${scoop64.extract_dir}/${file}`)];
  const docs = fs.readdirSync(path.join(root, 'docs')).filter((file) => /\.(md|png)$/.test(file)).map((file) => `docs/${file}`);
  for (const file of [...named, ...['tarvelin.dsc.resource.json', 'README.md', 'LICENSE', ...docs].map((f) => `${folder}/${f}`)]) {
    assert.ok(entries.includes(file), `${file} is not in the zip: ${entries.join(' ')}`);
  }
  const sums = read(out, 'SHA256SUMS').trim().split('\n');
  assert.ok(sums.some((line) => line.endsWith('tarvelin.dsc.resource.json')), sums.join('\n'));
  for (const line of sums) {
    const [, hash, name] = /^([0-9a-f]{64}) [ *](.+)$/.exec(line);
    const data = name.endsWith('.zip') ? fs.readFileSync(path.join(out, name))
      : execFileSync('unzip', ['-p', zip, name], { maxBuffer: 1 << 24 });
    assert.strictEqual(hash, sha256(data), `SHA256SUMS: ${name}`);
  }
  return zip;
}

test('unsigned: the manifests and SHA256SUMS match the zip they were written with', () => {
  const result = dist(path.join(tmp, 'unsigned'), { SIGN_PFX: '' });
  assert.strictEqual(result.status, 0, result.stderr);
  checkRelease(path.join(tmp, 'unsigned'));
});

// Throwaway code-signing certificates, and their password in a file: a self-signed one, and a
// leaf alone in its PFX, from an authority that neither the PFX nor the system holds.
const cert = (file) => path.join(tmp, file);
fs.writeFileSync(cert('password'), 'throwaway test password\n');
fs.writeFileSync(cert('wrong'), 'not the password\n');
for (const [name, ...extensions] of [['cert', 'extendedKeyUsage=codeSigning'], ['authority', 'basicConstraints=critical,CA:TRUE'],
  ['leaf', 'extendedKeyUsage=codeSigning', '-CA', cert('authority.pem'), '-CAkey', cert('authority-key.pem')]]) {
  execFileSync('openssl', ['req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '2', '-subj', `/CN=Tarvelin test ${name}`,
    '-addext', ...extensions, '-keyout', cert(`${name}-key.pem`), '-out', cert(`${name}.pem`)], { stdio: 'ignore' });
  execFileSync('openssl', ['pkcs12', '-export', '-inkey', cert(`${name}-key.pem`), '-in', cert(`${name}.pem`),
    '-passout', `file:${cert('password')}`, '-out', cert(`${name}.pfx`)]);
}
const signing = { SIGN_PFX: cert('cert.pfx'), SIGN_PASSWORD_FILE: cert('password') };

const built = () => ['Tarvelin.exe', 'tarvelin-cli.exe'].map((exe) => sha256(fs.readFileSync(path.join(build, exe))));

test('signed: both programs verify against the certificate and pass the release checks; signed again, the same zip', () => {
  const out = path.join(tmp, 'signed');
  const before = built();
  const result = makeDist(out, signing);
  assert.strictEqual(result.status, 0, result.stderr);
  assert.deepStrictEqual(built(), before, "the build's own programs stay unsigned");
  execFileSync('unzip', ['-q', checkRelease(out), '-d', out]);
  const programs = [['Tarvelin.exe', 'gui'], ['tarvelin-cli.exe', 'console']].map(([exe, kind]) => [path.join(out, folder, exe), kind]);
  for (const [exe] of programs) {
    const verify = run('osslsigncode', ['verify', '-in', exe, '-CAfile', cert('cert.pem')]);
    assert.strictEqual(verify.status, 0, verify.stdout + verify.stderr);
    assert.match(verify.stdout, /Page hash algorithm\s*: SHA256/);
  }
  const pe = run(path.join(root, 'tests/e2e/check_pe.sh'), programs.flat());
  console.log(pe.stdout);
  assert.strictEqual(pe.status, 0, pe.stdout);
  const zip = () => sha256(fs.readFileSync(path.join(out, `${folder}.zip`)));
  const first = zip();
  const again = dist(out, signing);
  assert.notStrictEqual(again.status, 0, 'a release of the same version was replaced unasked');
  assert.match(again.stderr, /make dist REPLACE=1/);
  const replaced = dist(out, { ...signing, REPLACE: '1' });
  assert.strictEqual(replaced.status, 0, replaced.stderr);
  assert.strictEqual(zip(), first, 'the same commit signed again gave another zip');
});

for (const [what, env, message] of [
  ['a wrong password', { SIGN_PASSWORD_FILE: cert('wrong') }, /cannot open .*cert\.pfx with the password in .*wrong \(wrong password/],
  ['an unreachable timestamp server', { SIGN_TIMESTAMP_URL: 'http://127.0.0.1:9/' }, /could not sign Tarvelin\.exe \(or reach the timestamp server/],
  ['an untrusted authority', { SIGN_PFX: cert('leaf.pfx') }, /the signature of Tarvelin\.exe does not verify against .*leaf\.pfx/],
]) {
  test(`signing with ${what} fails, says why, and leaves no release`, () => {
    const out = path.join(tmp, what.replaceAll(' ', '-'));
    fs.mkdirSync(out);
    fs.writeFileSync(path.join(out, 'SHA256SUMS'), 'an older release\n');
    const result = dist(out, { ...signing, ...env });
    assert.notStrictEqual(result.status, 0);
    assert.match(result.stderr, message);
    assert.match(result.stderr, /dist: not signed, so no release written/);
    assert.deepStrictEqual(fs.readdirSync(out), []);
  });
}
