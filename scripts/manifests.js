#!/usr/bin/env node
// Writes the package manifests of a release zip: winget's three files (ManifestVersion 1.12.0,
// the version the community repository takes, which refuses a single file) into OUT/winget/,
// and Scoop's into OUT/scoop/.
//
//   node scripts/manifests.js BUILD ZIP OUT PROGRAM.exe...
//
// Everything comes from the project's own data: BUILD/release.json (the version, the product
// page the program opens, the release folder), res/version.h (maker, product, copyright),
// LICENSE, and the zip itself: its name, its SHA-256, and its one top folder (the zip's name
// without ".zip") holding the PROGRAMs, each of which becomes a command of its name in lower
// case. The YAML writer is the set-up's, in build/tools.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const crypto = require('node:crypto');

const root = path.resolve(__dirname, '..');
const YAML = require(path.join(root, 'build', 'tools', 'node_modules', 'yaml'));

function fail(message) {
  console.error(`manifests: ${message}`);
  process.exit(1);
}

const [build, zip, out, ...programs] = process.argv.slice(2);
if (!programs.length) fail('usage: manifests.js BUILD ZIP OUT PROGRAM.exe...');

function define(name) {
  const header = fs.readFileSync(path.join(root, 'res', 'version.h'), 'utf8');
  const m = header.match(new RegExp(`^#define ${name} "([^"]+)"$`, 'm'));
  return m ? m[1] : fail(`res/version.h defines no ${name}`);
}

// SPDX identifiers of the licence texts, by their first line.
const licences = { 'MIT License': 'MIT' };
const licenceLine = fs.readFileSync(path.join(root, 'LICENSE'), 'utf8').split('\n')[0].trim();
const license = licences[licenceLine] || fail(`no SPDX identifier known for LICENSE's "${licenceLine}"`);

const release = JSON.parse(fs.readFileSync(path.join(build, 'release.json'), 'utf8'));
const { version } = release;
const zipName = path.basename(zip);
const folder = zipName.replace(/\.zip$/, '');
if (!zipName.includes(version)) fail(`${zipName} does not hold the version ${version}`);
const sha256 = crypto.createHash('sha256').update(fs.readFileSync(zip)).digest('hex');
const url = release.releaseUrl + zipName;
const commands = programs.map((p) => p.replace(/\.exe$/i, '').toLowerCase());

const maker = define('TARVELIN_MAKER');
const product = define('TARVELIN_PRODUCT');
const id = `${maker}.${product}`;
const shortDescription =
  'Switches Windows automatic logon on and off; the password is kept as the LSA secret, never in the registry.';
const description =
  `${product} switches Windows automatic logon on and off: a dialog (${programs[0]}) and a console ` +
  `program for scripts (${programs[1]}) with a dry run, JSON output and a DSC v3 resource ` +
  '(tarvelin.dsc.resource.json beside it). Set writes the Winlogon values and hands the password to ' +
  'the Local Security Authority as the DefaultPassword secret, so it never stands in the registry; ' +
  'Remove switches automatic logon off and leaves no password behind. One small program each, ' +
  'x86-64, no installer, no runtime DLLs.';
const notes = [
  `Changing automatic logon needs administrator rights: ${programs[0]} asks for them when it starts; ` +
    `run ${commands[1]} set and remove from an elevated prompt.`,
  `The program folder is on PATH, so that dsc finds the resource manifest beside ${programs[1]}.`,
];
// An elevated dsc runs the first tarvelin-cli.exe on PATH and hands it the password: the
// program belongs where only administrators can change it.
const guarded = `An elevated dsc runs the first ${programs[1]} on PATH and hands it the password, so it belongs where only administrators can change it:`;
const wingetNotes = [...notes, `${guarded} this package installs for the machine, under Program Files.`];
const scoopNotes = [...notes, `${guarded} install it with scoop install --global.`];

function write(file, text) {
  fs.mkdirSync(path.dirname(file), { recursive: true });
  fs.writeFileSync(file, text);
}

function wingetFile(type, fields) {
  const doc = { PackageIdentifier: id, PackageVersion: version, ...fields,
                ManifestType: type, ManifestVersion: '1.12.0' };
  const name = { version: '', installer: '.installer', defaultLocale: '.locale.en-US' }[type];
  write(path.join(out, 'winget', `${id}${name}.yaml`),
        `# yaml-language-server: $schema=https://aka.ms/winget-manifest.${type}.1.12.0.schema.json\n` +
        `# Written by make dist for ${zipName}.\n` + YAML.stringify(doc, { lineWidth: 0 }));
}

wingetFile('version', { DefaultLocale: 'en-US' });
wingetFile('installer', {
  Platform: ['Windows.Desktop'],
  InstallerType: 'zip',
  NestedInstallerType: 'portable',
  NestedInstallerFiles: programs.map((p, i) => ({ RelativeFilePath: `${folder}\\${p}`,
                                                  PortableCommandAlias: commands[i] })),
  // The folder itself goes on PATH, not links to the programs alone: dsc looks for resource
  // manifests in the folders on PATH.
  ArchiveBinariesDependOnPath: true,
  // Under Program Files, where only administrators write, since an elevated engine runs it.
  Scope: 'machine',
  Commands: commands,
  Installers: [{ Architecture: 'x64', InstallerUrl: url, InstallerSha256: sha256.toUpperCase() }],
});
wingetFile('defaultLocale', {
  PackageLocale: 'en-US',
  Publisher: maker,
  PublisherUrl: release.publisherUrl,
  PackageName: product,
  PackageUrl: release.productPage,
  License: license,
  Copyright: define('TARVELIN_COPYRIGHT_STR'),
  ShortDescription: shortDescription,
  Description: description,
  Moniker: commands[0],
  Tags: ['autologon', 'automatic-logon', 'winlogon', 'kiosk', 'dsc'],
  InstallationNotes: wingetNotes.join(' '),
});

// Scoop's checkver reads the release folder's SHA256SUMS, which names the newest zip; autoupdate
// takes the zip's hash from the SHA256SUMS beside it ("<hash>  <name>" lines).
const escape = (text) => text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
const anyVersion = (text) => text.split(version).join('$version');
const scoop = {
  '##': `Written by make dist for ${zipName}.`,
  version,
  description: shortDescription,
  homepage: release.productPage,
  license,
  notes: scoopNotes,
  architecture: { '64bit': { url, hash: sha256, extract_dir: folder } },
  bin: programs,
  env_add_path: '.',
  checkver: { url: `${release.releaseUrl}SHA256SUMS`,
              regex: escape(zipName).replace(escape(version), '([\\d.]+)') },
  autoupdate: { architecture: { '64bit': { url: anyVersion(url), extract_dir: anyVersion(folder),
                                            hash: { url: '$baseurl/SHA256SUMS' } } } },
};
write(path.join(out, 'scoop', `${commands[0]}.json`), `${JSON.stringify(scoop, null, 4)}\n`);
