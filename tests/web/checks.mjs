// What the browser test checks beside driving the page: the phone fits the window, a recorded
// session replays to the page's timeline, a download's bytes.
import { execFile } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export function fail(message) { throw new Error(message); }

export async function waitFor(what, check, timeoutMs = 15000) {
  const until = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > until) fail(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// Every screen of the phone lies whole inside the window, none covered by a control.
export async function phoneFits(page) {
  const viewport = page.viewportSize();
  const boxes = await page.$$eval('.screen', (frames) => frames.map((frame) => {
    const box = frame.getBoundingClientRect();
    const middle = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
    return { x: box.left, y: box.top, width: box.width, height: box.height, covered: !frame.contains(middle) };
  }));
  if (!boxes.length) fail('no screen on the page');
  for (const b of boxes) {
    if (b.x < 0 || b.y < 0 || b.x + b.width > viewport.width + 0.5 || b.y + b.height > viewport.height + 0.5)
      fail(`at ${viewport.width}x${viewport.height} a screen lies at ${JSON.stringify(b)}, not whole in the window`);
    if (b.covered) fail(`at ${viewport.width}x${viewport.height} something covers a screen`);
    if (b.width < 0.25 * 320) fail(`at ${viewport.width}x${viewport.height} a screen is ${b.width} px wide`);
  }
  return boxes;
}

// A timeline's device events: no dates (a new day's date may stand on another line), no step
// lines, header or end of a run.
export function events(text) {
  return text.split('\n').map((line) => line.replace(/^\d{4}-\d\d-\d\d /, ''))
    .filter((line) => line && !line.startsWith('#') && !line.includes('  > ') && !/^\S+ {2}end$/.test(line));
}

// Runs a scenario file with the program; its timeline.
export function run(program, file) {
  return new Promise((resolve, reject) => execFile(program, ['run', file], { maxBuffer: 64 << 20 },
    (error, stdout, stderr) => (error ? reject(new Error(`hushmark-sim run ${file}: ${stderr || error.message}`)) : resolve(stdout))));
}

// A download's bytes, saved through Playwright.
export async function downloaded(page, click) {
  const [download] = await Promise.all([page.waitForEvent('download'), click()]);
  const folder = mkdtempSync(join(tmpdir(), 'hm-download-'));
  const file = join(folder, download.suggestedFilename());
  await download.saveAs(file);
  const bytes = readFileSync(file);
  return { name: download.suggestedFilename(), bytes, file, folder, done: () => rmSync(folder, { recursive: true, force: true }) };
}

// A PNG's size, from its header.
export function pngSize(bytes) {
  if (bytes.subarray(0, 8).toString('hex') !== '89504e470d0a1a0a') fail('not a PNG');
  return { width: bytes.readUInt32BE(16), height: bytes.readUInt32BE(20) };
}

export function writeTemp(name, text) {
  const folder = mkdtempSync(join(tmpdir(), 'hm-web-'));
  writeFileSync(join(folder, name), text);
  return { file: join(folder, name), done: () => rmSync(folder, { recursive: true, force: true }) };
}
