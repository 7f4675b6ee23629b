#!/usr/bin/env node
// Checks the code blocks of README.md and docs/*.md that readers copy into their own files:
// every ```yaml, ```yml and ```json block must parse, and no string in it (keys and values, at
// any depth) may hold a control character. A YAML block's strings are also read the way
// Ansible reads them: the string literals inside a Jinja expression are decoded as Jinja
// decodes them. In "{{ ['C:\\Tools\\x.exe'] }}", YAML leaves one backslash of each pair, and
// Jinja's literal then turns "\t" into a TAB. Any finding fails.
//   node scripts/check-docs.js [FILE.md...]   (README.md and docs/*.md by default)
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const { tool } = require('./check-ci.js');

const root = path.resolve(__dirname, '..');

// C0, DEL and C1.
const CONTROL = /[\u0000-\u001f\u007f-\u009f]/;
const CONTROLS = /[\u0000-\u001f\u007f-\u009f]/g;
const NAMES = { 0: 'NUL', 8: 'BACKSPACE', 9: 'TAB', 10: 'LINE FEED', 11: 'VERTICAL TAB',
  12: 'FORM FEED', 13: 'CARRIAGE RETURN', 27: 'ESCAPE', 127: 'DELETE' };

const codePoint = (c) => 'U+' + c.charCodeAt(0).toString(16).toUpperCase().padStart(4, '0');
const named = (c) => `${codePoint(c)} (${NAMES[c.charCodeAt(0)] || 'control character'})`;
const shown = (text) => `"${text.replace(CONTROLS, (c) => `<${codePoint(c)}>`).slice(0, 80)}"`;

// The fenced blocks of a Markdown text: the language, the first content line (1-based) and the
// content, with the fence's own indentation taken off each line (a block inside a list item).
function codeBlocks(text) {
  const blocks = [];
  let open = null;
  text.split('\n').forEach((line, index) => {
    if (open === null) {
      const start = /^( {0,3})(`{3,}|~{3,})\s*([^\s`]*)/.exec(line);
      if (start)
        open = { indent: start[1].length, fence: start[2], language: start[3].toLowerCase(),
          line: index + 2, lines: [] };
    } else if (new RegExp(`^ {0,3}${open.fence[0]}{${open.fence.length},}\\s*$`).test(line)) {
      blocks.push({ language: open.language, line: open.line, text: open.lines.join('\n') });
      open = null;
    } else {
      open.lines.push(line.replace(new RegExp(`^ {0,${open.indent}}`), ''));
    }
  });
  return blocks;
}

// Python's unicode-escape, which Jinja applies to the text between a literal's quotes. Gives
// the decoded text and each escape that made a control character; \N{...} names are not
// looked up.
const SIMPLE = { '\\': '\\', "'": "'", '"': '"', a: '\x07', b: '\b', f: '\f', n: '\n', r: '\r', t: '\t',
  v: '\v', '\n': '' };
const ESCAPE = /\\(x[0-9a-fA-F]{2}|u[0-9a-fA-F]{4}|U[0-9a-fA-F]{8}|[0-7]{1,3}|[\s\S])/g;
function decodeJinjaLiteral(body) {
  const made = [];
  const text = body.replace(ESCAPE, (escape, tail) => {
    let value = escape;
    if (tail in SIMPLE) value = SIMPLE[tail];
    else if (/^[0-7]/.test(tail)) value = String.fromCodePoint(parseInt(tail, 8));
    else if (/^[xuU]./.test(tail)) value = String.fromCodePoint(parseInt(tail.slice(1), 16));
    if (CONTROL.test(value)) made.push({ escape, value });
    return value;
  });
  return { text, made };
}

// A Jinja string literal, in single or double quotes, as Jinja's lexer reads it.
const LITERAL = /'((?:[^'\\]|\\[\s\S])*)'|"((?:[^"\\]|\\[\s\S])*)"/g;

// Findings in the Jinja expressions and statements of one string.
function jinjaFindings(text) {
  const findings = [];
  for (const [, expression] of text.matchAll(/\{[{%]([\s\S]*?)[}%]\}/g)) {
    for (const [literal, single, double] of expression.matchAll(LITERAL)) {
      const decoded = decodeJinjaLiteral(single !== undefined ? single : double);
      for (const { escape, value } of decoded.made)
        findings.push(
          `${named(value)} from "${escape}" in the Jinja string literal ${literal}, which reads ` +
            `${shown(decoded.text)}: keep the path or name out of the expression, in single-quoted YAML [jinja]`
        );
    }
  }
  return findings;
}

function yamlFindings(block) {
  const { parseAllDocuments, LineCounter, visit, Scalar } = tool('yaml');
  const lines = new LineCounter();
  const findings = [];
  const at = (offset, message) =>
    findings.push({ line: block.line + lines.linePos(offset).line - 1, message });
  for (const document of parseAllDocuments(block.text, { lineCounter: lines })) {
    for (const error of document.errors) {
      const message = error.message.split('\n')[0].replace(/ at line \d+, column \d+:?$/, '');
      at(error.pos[0], `does not parse: ${message} [yaml]`);
    }
    if (document.errors.length > 0) continue;
    visit(document, {
      Scalar(_, node) {
        if (typeof node.value !== 'string') return;
        // The line ends of a block scalar (| or >) are the text as written, not an escape.
        const asWritten = node.type === Scalar.BLOCK_LITERAL || node.type === Scalar.BLOCK_FOLDED;
        const control = [...node.value].find((c) => CONTROL.test(c) && !(asWritten && c === '\n'));
        if (control) at(node.range[0], `${named(control)} in the string ${shown(node.value)} [yaml]`);
        for (const message of jinjaFindings(node.value)) at(node.range[0], message);
      },
    });
  }
  return findings;
}

function jsonFindings(block) {
  const lineOf = (offset) => block.line + block.text.slice(0, offset).split('\n').length - 1;
  try {
    JSON.parse(block.text);
  } catch (error) {
    const offset = /position (\d+)/.exec(error.message);
    const line = lineOf(offset ? Number(offset[1]) : 0);
    return [{ line, message: `does not parse: ${error.message} [json]` }];
  }
  // Outside its strings JSON holds no quote, so each match is one string, key or value.
  const findings = [];
  for (const match of block.text.matchAll(/"(?:[^"\\]|\\.)*"/g)) {
    const value = JSON.parse(match[0]);
    const control = [...value].find((c) => CONTROL.test(c));
    if (control)
      findings.push({ line: lineOf(match.index), message: `${named(control)} in the string ${shown(value)} [json]` });
  }
  return findings;
}

const CHECKS = { yaml: yamlFindings, yml: yamlFindings, json: jsonFindings };

// The findings of one Markdown text, and how many blocks were checked.
function checkMarkdown(text) {
  const blocks = codeBlocks(text).filter((b) => b.language in CHECKS);
  const findings = blocks.flatMap((b) => CHECKS[b.language](b)).sort((a, b) => a.line - b.line);
  return { blocks: blocks.length, findings };
}

// README.md and every page in docs/.
function pages() {
  const docs = fs.readdirSync(path.join(root, 'docs')).filter((f) => f.endsWith('.md')).sort();
  return ['README.md', ...docs.map((f) => path.join('docs', f))];
}

function main(files) {
  let blocks = 0;
  let count = 0;
  for (const file of files) {
    const result = checkMarkdown(fs.readFileSync(path.resolve(root, file), 'utf8'));
    for (const f of result.findings) console.log(`${file}:${f.line}: ${f.message}`);
    blocks += result.blocks;
    count += result.findings.length;
  }
  if (count > 0) {
    console.log(`check-docs: ${count} finding(s)`);
    process.exitCode = 1;
    return;
  }
  console.log(`check-docs: ${blocks} yaml and json block(s) in ${files.length} file(s), no findings`);
}

module.exports = { checkMarkdown, pages };

if (require.main === module) {
  try {
    main(process.argv.length > 2 ? process.argv.slice(2) : pages());
  } catch (error) {
    console.error(`check-docs: ${error.message}`);
    process.exitCode = 1;
  }
}
