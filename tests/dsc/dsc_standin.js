#!/usr/bin/env node
// A stand-in for the dsc engine (Microsoft DSC v3) driving a command resource, as its source
// does it and nothing more, per release: each rule below names the engine's file and function
// (dsc_lib/src/... in 3.1, lib/dsc-lib/src/... from 3.2.0 on). The commands come from the
// manifest alone: this file holds no copy of them.
//
//   dsc_standin.js [--release X.Y.Z] MANIFEST resource get|export [INSTANCE]
//   dsc_standin.js [--release X.Y.Z] MANIFEST resource test|set INSTANCE [--what-if]
//   dsc_standin.js [--release X.Y.Z] MANIFEST config test|set INSTANCE [--what-if]
//   dsc_standin.js MANIFEST method NAME [INSTANCE]
//
// --release picks the engine's behaviour (default 3.3.0). config runs a configuration of one
// instance of the resource, whose properties (parameters resolved, a secureString as
// {"secureString": "..."}) are INSTANCE. method runs one method of the manifest straight, with
// INSTANCE byte for byte and none of the engine's checks: for input dsc would never send.
// The result is printed as dsc prints it, compact, on one line; the resource's standard-error
// lines are relogged as "LEVEL: message". Not modelled: discovery (the manifest is given), the
// engine's own trace lines (at trace level real dsc logs every instance it writes to a
// resource verbatim, password and all), adapters, groups, parameters and expressions.
// Exit status: 0 success, 1 the command failed, 2 bad use.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');

const root = path.resolve(__dirname, '..', '..');
const Ajv2020 = require(path.join(root, 'build/tools/node_modules/ajv/dist/2020')).default;

const stop = (status, message) => {
  process.stderr.write(`dsc-standin: ${message}\n`);
  process.exit(status);
};
const argv = process.argv.slice(2);
const release = argv[0] === '--release' ? argv.splice(0, 2)[1] : '3.3.0';
const whatIf = argv.includes('--what-if');
const [manifestFile, group, operation, instance] = argv.filter((a) => a !== '--what-if');
if (!/^3\.\d+\.\d+$/.test(release) || !manifestFile || !operation) stop(2, 'usage: see the head of dsc_standin.js');
const from = (version) => {
  const [a, b] = [release, version].map((v) => v.split('.').map(Number));
  return a[1] !== b[1] ? a[1] > b[1] : a[2] >= b[2];
};
const manifest = JSON.parse(fs.readFileSync(manifestFile, 'utf8'));
const folder = path.dirname(path.resolve(manifestFile));
const fail = (message) => {
  throw new Error(message);
};

// 3.2.0 on: each method's requireSecurityContext is an enum (resource_manifest.rs, serde): any
// other value makes the manifest unreadable, so dsc skips it. Before, a method's unknown
// fields are ignored. The stand-in runs as Wine's administrator: "elevated" is met.
const contexts = ['current', 'elevated', 'restricted'];
for (const name of ['get', 'set', 'whatIf', 'test', 'export']) {
  const context = manifest[name] && manifest[name].requireSecurityContext;
  if (from('3.2.0') && context !== undefined && !contexts.includes(context)) stop(1, `manifest skipped: ${name}.requireSecurityContext`);
}
const checkContext = (method) => {
  // command_resource.rs, validate_security_context (3.2.0 on)
  if (from('3.2.0') && method.requireSecurityContext === 'restricted') fail('Security context: restricted required');
};

// The executable: on PATH (Rust's Command::new, which on Windows also tries the engine's own
// folder and the system folders first); from 3.1.2 on, when not there, in the manifest's folder
// (util.rs, canonicalize_which).
const findExecutable = (name) => {
  const file = /\.exe$/i.test(name) ? name : `${name}.exe`;
  const folders = (process.env.PATH || '').split(path.delimiter).filter(Boolean);
  const found = [...folders, ...(from('3.1.2') ? [folder] : [])]
    .map((dir) => path.resolve(dir, file))
    .find((candidate) => fs.existsSync(candidate));
  return found || fail(`Command: Executable '${name}' not found`);
};

// One method run (command_resource.rs, run_process_async): the instance as it is written to
// standard input, without a line end, and then end of file; with no input the child inherits
// the engine's own standard input before 3.2.2 and gets none (Stdio::null) from 3.2.2 on. It
// runs in the manifest's folder, with DSC_TRACE_LEVEL. Standard-error lines {"error":...} and
// the like are relogged at their level (log_stderr_line); a non-zero exit fails the method,
// told by the manifest's exitCodes text where there is one.
const invoke = (name, input) => {
  const method = manifest[name] || fail(`${name} is not implemented`);
  const executable = findExecutable(method.executable);
  // Output to files: a Wine server that the run starts inherits them and lives on for its idle
  // seconds, and pipes would wait for it.
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'dsc-standin-'));
  const outputs = ['stdout', 'stderr'].map((file) => path.join(scratch, file));
  const files = outputs.map((file) => fs.openSync(file, 'w'));
  const run = spawnSync(path.join(root, 'scripts/wine-run.sh'), [executable, ...(method.args || [])], {
    cwd: folder,
    input: input === undefined ? undefined : Buffer.from(input, 'utf8'),
    stdio: [input !== undefined ? 'pipe' : from('3.2.2') ? 'ignore' : 'inherit', ...files],
    env: { ...process.env, DSC_TRACE_LEVEL: process.env.DSC_TRACE_LEVEL || 'warn' },
  });
  files.forEach((fd) => fs.closeSync(fd));
  if (run.error) fail(`${executable} did not start: ${run.error.message}`);
  const [stdout, stderr] = outputs.map((file) => fs.readFileSync(file, 'utf8'));
  fs.rmSync(scratch, { recursive: true, force: true });
  const errorText = [];
  for (const line of stderr.split(/\r?\n/).filter(Boolean)) {
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
  const described = (manifest.exitCodes || {})[String(run.status)];
  if (run.status !== 0) fail(`${name} failed: exit code ${run.status}: ${described || errorText.join('\n')}`);
  return stdout;
};

// The instance and each state checked against the embedded schema (verify_json, from 3.2.0
// verify_json_from_manifest), before the resource starts and after it answers. The validator
// (the jsonschema crate) names the offending value itself in its message.
const validate = new Ajv2020({ strict: false, allErrors: true }).compile(manifest.schema.embedded);
const verify = (text) => {
  let value;
  try {
    value = JSON.parse(text);
  } catch (e) {
    fail(`JSON: ${e.message}`);
  }
  if (validate(value)) return value;
  const depth = (e) => e.schemaPath.split('/').length;
  const e = validate.errors.reduce((a, b) => (depth(b) < depth(a) ? b : a));
  const shown = JSON.stringify(e.instancePath.split('/').slice(1).reduce((v, key) => v[key], value));
  const words = {
    type: () => `${shown} is not of type ${JSON.stringify(e.params.type)}`,
    oneOf: () => `${shown} is not valid under any of the schemas listed in the 'oneOf' keyword`,
    additionalProperties: () => `Additional properties are not allowed ('${e.params.additionalProperty}' was unexpected)`,
    minimum: () => `${shown} is less than the minimum of ${e.params.limit}`,
    maximum: () => `${shown} is greater than the maximum of ${e.params.limit}`,
  }[e.keyword];
  return fail(`Schema: ${words ? words() : `${shown} is not valid under '${e.keyword}'`}`);
};

// 3.2.0 on: a secureString or secureObject is left out of comparisons and replaced by
// "<secureValue>" in dsc's results (parameters.rs, is_secure_value; dscresource.rs, redact).
// Before, it is a plain object like any other, shown and compared as such.
const isSecure = (v) => from('3.2.0') && v !== null && typeof v === 'object' && !Array.isArray(v) &&
  Object.keys(v).length === 1 && ('secureString' in v || 'secureObject' in v);
const redact = (v) => {
  if (isSecure(v)) return '<secureValue>';
  if (Array.isArray(v)) return v.map(redact);
  if (v === null || typeof v !== 'object') return v;
  return Object.fromEntries(Object.entries(v).map(([k, x]) => [k, redact(x)]));
};

// The top-level properties of `expected` that `actual` does not hold as JSON values
// (dscresource.rs, get_diff): _exist counts as true where either leaves it out; an object is
// compared member by member; an array as a set of the same size; $schema is skipped.
const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
const getDiff = (expected, actual) => {
  if (expected === null || typeof expected !== 'object') return [];
  const want = { _exist: true, ...expected };
  const have = actual !== null && typeof actual === 'object' && !Array.isArray(actual) ? { _exist: true, ...actual } : actual;
  return Object.entries(want).filter(([key, value]) => {
    if (isSecure(value) || key === '$schema') return false;
    const there = have !== null && typeof have === 'object' ? have[key] : undefined;
    if (value !== null && typeof value === 'object' && !Array.isArray(value)) return getDiff(value, there === undefined ? null : there).length > 0 || there === undefined;
    if (there === undefined) return true;
    if (Array.isArray(value)) return !Array.isArray(there) || there.length !== value.length || !value.every((x) => there.some((y) => same(x, y)));
    return !same(value, there);
  }).map(([key]) => key);
};

// command_resource.rs, invoke_get: the instance, where there is one, is checked and handed on.
const get = (input) => {
  if (input) verify(input);
  return { actualState: verify(invoke('get', input || undefined)) };
};

// invoke_test with return "state": the verdict is _inDesiredState where the state has it, but
// differingProperties is dsc's own comparison of the desired instance with the state.
const test = (input) => {
  const expected = verify(input);
  checkContext(manifest.test);
  const actualState = verify(invoke('test', input));
  const differingProperties = getDiff(expected, actualState);
  const inDesiredState = typeof actualState._inDesiredState === 'boolean' ? actualState._inDesiredState : differingProperties.length === 0;
  return { desiredState: redact(expected), actualState, inDesiredState, differingProperties };
};

// invoke_set: test first unless told to skip it (dsc resource set always skips it,
// resource_command.rs, set; a configuration never does, configure/mod.rs, invoke_set); in the
// desired state a real set stops there, with the desired instance as beforeState. Otherwise
// get with the desired instance, then set (or its what-if: from 3.2.0 the whatIf method is
// deprecated and warned of), and changedProperties compares the two states.
const set = (input, skipTest) => {
  const name = whatIf ? 'whatIf' : 'set';
  if (whatIf && from('3.2.0')) process.stderr.write(`WARN: Resource '${manifest.type}' uses deprecated 'whatIf' operation.\n`);
  checkContext(manifest[name] || {});
  const desired = verify(input);
  if (!skipTest) {
    const tested = test(input);
    if (tested.inDesiredState && !whatIf) return { beforeState: redact(desired), afterState: tested.actualState, changedProperties: null };
  }
  const before = verify(invoke('get', input));
  const afterState = verify(invoke(name, input));
  return { beforeState: redact(before), afterState, changedProperties: getDiff(afterState, before) };
};

// invoke_export: one instance a line, each checked.
const exported = (input) => {
  if (input) verify(input);
  const lines = invoke('export', input || undefined).split(/\r?\n/).filter(Boolean);
  return { resources: lines.map((line) => ({ type: manifest.type, properties: verify(line) })) };
};

try {
  if (instance !== undefined && /[\r\n]/.test(instance)) stop(2, 'dsc writes the instance on one line');
  const inConfig = (result) => ({ results: [{ type: manifest.type, result }] });
  const commands = {
    'resource get': () => get(instance),
    'resource export': () => exported(instance),
    'resource test': () => test(instance),
    'resource set': () => set(instance, true),
    'config test': () => inConfig(test(instance)),
    'config set': () => inConfig(set(instance, false)),
  };
  if (group === 'method') {
    const stdout = invoke(operation, instance);
    (operation === 'export' ? stdout.split(/\r?\n/).filter(Boolean) : [stdout]).forEach((text) => process.stdout.write(`${JSON.stringify(verify(text))}\n`));
  } else if (commands[`${group} ${operation}`]) {
    if (instance === undefined && ['test', 'set'].includes(operation)) stop(2, `${operation} needs an instance`);
    process.stdout.write(`${JSON.stringify(commands[`${group} ${operation}`]())}\n`);
  } else stop(2, `no command ${group} ${operation}`);
} catch (e) {
  stop(1, e.message);
}
