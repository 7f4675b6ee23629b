#!/usr/bin/env node
// A stand-in for the dsc engine (Microsoft DSC v3) running one method of a command resource,
// as its source does it (releases 3.1 to 3.3) and nothing more. The commands come from the
// manifest alone: this file holds no copy of them.
//
//   dsc_standin.js MANIFEST METHOD [INSTANCE]
//
// METHOD is a method of the manifest: get, set, whatIf, test or export. The executable is
// found as Windows finds a bare name (NAME.exe) on PATH, or else in the manifest's folder,
// and runs under Wine (scripts/wine-run.sh: the 64-bit loader and the build tree's prefix)
// with the method's arguments, from the manifest's folder, with DSC_TRACE_LEVEL set (from the
// environment, or warn, dsc's default). INSTANCE goes to standard input byte for byte, with
// no line end, and then end of file: tests hand it compact, as dsc writes it, and may hand
// what dsc never would (JSON that does not parse) to see the resource refuse it. Without
// INSTANCE, standard input is not piped: the resource inherits this one's, as under dsc.
// Unlike dsc, the input is not validated against the schema first, for the same reason.
//
// Standard output is read as UTF-8: one JSON value (get, set, whatIf, test), or one instance
// a line (export); each is validated against the manifest's embedded schema (ajv, JSON
// Schema 2020-12) and printed compact, one a line. Standard-error lines {"error":...},
// {"warn":...}, {"info":...}, {"debug":...}, {"trace":...} are relogged to standard error as
// "LEVEL: message"; any other line is error text. A non-zero exit fails the method, shown
// with the manifest's exitCodes text for it where there is one (all that dsc shows), else
// with the error text. Exit status: 0 success, 1 the method failed, 2 bad use.
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const root = path.resolve(__dirname, '..', '..');
const Ajv2020 = require(path.join(root, 'build/tools/node_modules/ajv/dist/2020')).default;

const [manifestFile, method, instance] = process.argv.slice(2);
const stop = (status, message) => {
  process.stderr.write(`dsc-standin: ${message}\n`);
  process.exit(status);
};
if (!manifestFile || !method) stop(2, 'usage: dsc_standin.js MANIFEST METHOD [INSTANCE]');
const manifest = JSON.parse(fs.readFileSync(manifestFile, 'utf8'));
const command = manifest[method];
if (!command || typeof command.executable !== 'string') stop(2, `the manifest has no method ${method}`);
if (instance !== undefined && /[\r\n]/.test(instance)) stop(2, 'dsc writes the instance on one line');

const folder = path.dirname(path.resolve(manifestFile));
const file = /\.exe$/i.test(command.executable) ? command.executable : `${command.executable}.exe`;
const executable = [...(process.env.PATH || '').split(path.delimiter).filter(Boolean), folder]
  .map((dir) => path.resolve(dir, file))
  .find((candidate) => fs.existsSync(candidate));
if (!executable) stop(1, `${file} is neither on PATH nor in ${folder}`);

// Standard output and error go to files: a Wine server that the run starts inherits them and
// lives on for its idle seconds, and pipes would wait for it.
const scratch = fs.mkdtempSync(path.join(require('os').tmpdir(), 'dsc-standin-'));
const outputs = ['stdout', 'stderr'].map((name) => path.join(scratch, name));
const files = outputs.map((file) => fs.openSync(file, 'w'));
const run = spawnSync(path.join(root, 'scripts/wine-run.sh'), [executable, ...(command.args || [])], {
  cwd: folder,
  input: instance === undefined ? undefined : Buffer.from(instance, 'utf8'),
  stdio: [instance === undefined ? 'inherit' : 'pipe', ...files],
  env: { ...process.env, DSC_TRACE_LEVEL: process.env.DSC_TRACE_LEVEL || 'warn' },
});
files.forEach((fd) => fs.closeSync(fd));
if (run.error) stop(1, `${executable} did not start: ${run.error.message}`);
[run.stdout, run.stderr] = outputs.map((file) => fs.readFileSync(file));
fs.rmSync(scratch, { recursive: true, force: true });

const lines = (text) => text.replace(/\n$/, '').split('\n').map((line) => line.replace(/\r$/, ''));
const errorText = [];
for (const line of lines(run.stderr.toString('utf8')).filter((l) => l !== '')) {
  let entry = null;
  try {
    entry = JSON.parse(line);
  } catch (e) {
    // not JSON: error text
  }
  const level = entry && ['error', 'warn', 'info', 'debug', 'trace'].find((l) => l in entry);
  if (level) process.stderr.write(`${level.toUpperCase()}: ${entry[level]}\n`);
  else errorText.push(line);
}
if (run.status !== 0) {
  const described = (manifest.exitCodes || {})[String(run.status)];
  stop(1, `${method} failed: exit code ${run.status}: ${described || errorText.join('\n')}`);
}

const stdout = run.stdout.toString('utf8');
const documents = method === 'export' ? (stdout === '' ? [] : lines(stdout)) : [stdout];
const valid = new Ajv2020({ strict: false, allErrors: true }).compile(manifest.schema.embedded);
for (const text of documents) {
  let value;
  try {
    value = JSON.parse(text);
  } catch (e) {
    stop(1, `${method}: the output is not JSON (${e.message}): ${JSON.stringify(text)}`);
  }
  if (!valid(value)) stop(1, `${method}: the output breaks the schema: ${JSON.stringify(valid.errors)}`);
  process.stdout.write(`${JSON.stringify(value)}\n`);
}
