// The check of the documentation's code blocks (scripts/check-docs.js) finds what it is there
// for: each block of a row gives the finding named in it, and the committed pages give none.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { checkMarkdown, pages } = require('../../scripts/check-docs.js');

const root = path.resolve(__dirname, '..', '..');
const shown = ({ findings }) => findings.map((f) => `${f.line}: ${f.message}`).join('\n');

// The Ansible task with its path and user inside the Jinja expression, in a double-quoted
// YAML string: YAML keeps one backslash of each pair, and Jinja then reads "\t" as a TAB.
const jinjaPath = String.raw`- name: Automatic logon for the kiosk account
  ansible.windows.win_command:
    argv: "{{ ['C:\\Tools\\tarvelin-cli.exe', 'set', '--user', 'CORP\\kiosk', '--json']
              + (['--check'] if ansible_check_mode else []) }}"
    stdin: "{{ kiosk_password }}"`;

// Each row: a block's language and text, and the finding expected, with its line (the block's
// first line is line 4 of the page).
const rows = [
  ['a line end from a Jinja escape', 'yaml', String.raw`user: "{{ 'CORP\\nadia' }}"`, /^4: U\+000A .*\[jinja\]/],
  ['a TAB escaped in a double-quoted YAML string', 'yml', 'a: 1\npath: "C:\\tools"', /^5: U\+0009 \(TAB\).*\[yaml\]/],
  ['a control character in a YAML key', 'yaml', '"a\\eb": 1', /^4: U\+001B .*\[yaml\]/],
  ['a line end escaped in a JSON key', 'json', '{\n"a\\nb": 1}', /^5: U\+000A .*\[json\]/],
  ['a C1 control character deep in JSON', 'json', '{"a": [{"b": "\\u0085"}]}', /^4: U\+0085 .*\[json\]/],
  ['YAML that does not parse', 'yaml', 'a: [1, 2', /^4: does not parse.*\[yaml\]/],
  ['JSON that does not parse', 'json', '{"a": 1,}', /^4: does not parse.*\[json\]/],
];

for (const [name, language, block, expected] of rows) {
  test(`docs blocks: ${name} is found`, () => {
    const result = checkMarkdown(`# Page\n\n\`\`\`${language}\n${block}\n\`\`\`\n`);
    assert.match(shown(result), expected, shown(result) || '(no finding)');
  });
}

test('docs blocks: automation.md with that task is refused for the TAB', () => {
  const page = fs.readFileSync(path.join(root, 'docs', 'automation.md'), 'utf8');
  const task = /- name: Automatic logon for the kiosk account\n[\s\S]*?stdin: .*/;
  assert.match(page, task);
  const result = checkMarkdown(page.replace(task, () => jinjaPath));
  assert.match(shown(result), /^\d+: U\+0009 \(TAB\) from "\\t" in the Jinja string literal 'C:\\Tools/, shown(result));
});

test('docs blocks: line ends of a YAML block scalar, and backslashes in single quotes, pass', () => {
  const block = "- run: |\n    one\n    two\n  vars:\n    cli: 'C:\\Program Files\\Tarvelin\\tarvelin-cli.exe'";
  assert.strictEqual(shown(checkMarkdown(`  \`\`\`yaml\n  ${block.replace(/\n/g, '\n  ')}\n  \`\`\`\n`)), '');
});

test('docs blocks: the committed README and docs have blocks and no finding', () => {
  let blocks = 0;
  for (const file of pages()) {
    const result = checkMarkdown(fs.readFileSync(path.join(root, file), 'utf8'));
    assert.strictEqual(shown(result), '', file);
    blocks += result.blocks;
  }
  assert.ok(blocks >= 3, `only ${blocks} blocks checked`);
});
