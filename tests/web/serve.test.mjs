// The browser test of `hushmark-sim serve`: Debian's Chromium, headless, driven by Playwright,
// does what a person does on the page, through the phone's picture only (the inspection is read
// to find where things lie and to check what changed).
//
//   node tests/web/serve.test.mjs HUSHMARK_SIM SCREENSHOT.png
import { spawn } from 'node:child_process';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';
import { downloaded, events, fail, phoneFits, pngSize, run, waitFor } from './checks.mjs';

const [program, screenshotPath] = process.argv.slice(2);
if (!program || !screenshotPath) {
  console.error('usage: node serve.test.mjs HUSHMARK_SIM SCREENSHOT.png');
  process.exit(2);
}
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

// The server, on a port the system picks.
const server = spawn(program, ['serve', '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
let output = '';
server.stdout.on('data', (chunk) => { output += chunk; });
const serverExit = new Promise((resolve) => server.on('exit', (code, signal) => resolve({ code, signal })));
const base = await waitFor('the server\'s URL', () => output.match(/http:\/\/[^\s/]+\//)?.[0]);

const browser = await chromium.launch({ executablePath: chromiumPath, headless: true, args: ['--no-sandbox', '--disable-gpu'] });
let exitCode = 1;
try {
  const context = await browser.newContext({ viewport: { width: 1240, height: 720 }, acceptDownloads: true });
  const page = await context.newPage();
  page.on('pageerror', (error) => fail(`page error: ${error.message}`));
  await page.goto(base);

  const inspect = async (screen) => (await fetch(`${base}api/inspect/${screen}`)).json();
  const version = (on = page) => on.$eval('#phone canvas', (canvas) => Number(canvas.dataset.version || 0)).catch(() => 0);
  const timeline = () => page.textContent('#timeline');
  const front = async () => (await inspect('phone')).phone.front;
  // A point of the phone, in its points, on the page (the phone is scaled to fit the window).
  async function at(x, y, on = page) {
    const { width } = await (await fetch(`${base}api/device`)).json();
    const box = await on.locator('#phone canvas').boundingBox();
    const perPoint = box.width / width;
    return { x: box.x + x * perPoint, y: box.y + y * perPoint, perPoint };
  }
  async function click(x, y) {
    const p = await at(x, y);
    await page.mouse.click(p.x, p.y);
  }
  // A finger's drag on the phone, in steps, as a person's mouse would.
  async function drag(x1, y1, x2, y2, steps = 12) {
    const from = await at(x1, y1), to = await at(x2, y2);
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    for (let i = 1; i <= steps; ++i) await page.mouse.move(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
    await page.mouse.up();
  }
  const centre = (frame) => [frame.x + frame.width / 2, frame.y + frame.height / 2];
  function findView(view, match) {
    if (match(view)) return view;
    for (const sub of view.subviews || []) {
      const found = findView(sub, match);
      if (found) return found;
    }
    return null;
  }
  // Settings' rows, where the phone shows them now.
  async function rows() {
    const phone = await inspect('phone');
    return phone.settings ? phone.settings.rows : fail(`Settings is not in front: ${phone.phone.front}`);
  }
  async function row(label) {
    const all = await rows();
    return all.find((r) => r.label === label) || fail(`no row "${label}" in ${JSON.stringify(all.map((r) => r.label))}`);
  }
  // Drags the page until the row lies in sight, below the navigation bar, as a person scrolls.
  async function reveal(label) {
    const height = (await inspect('phone')).height;
    for (let tries = 0; tries < 12; ++tries) {
      const r = await row(label);
      const middle = r.frame.y + r.frame.height / 2;
      if (middle > 100 && middle < height - 60) return r;
      const by = Math.max(-250, Math.min(250, middle - height / 2));
      const before = await version();
      await drag(160, height / 2 + by / 2, 160, height / 2 - by / 2);
      await waitFor(`the page to scroll towards "${label}"`, async () => (await version()) > before);
    }
    fail(`the row "${label}" does not come into sight`);
  }
  // The switch on a row, in sight (looked for again while the page settles: the page may still
  // be sending a drag's last touches, or the table be laid out anew after a page was left).
  async function switchOf(label) {
    return waitFor(`a switch on the row "${label}"`, async () => {
      const r = await reveal(label);
      const middle = r.frame.y + r.frame.height / 2;
      return findView((await inspect('phone')).views, (v) => v.class === 'PSSwitchView' && !v.hidden && v.frame.y <= middle && middle <= v.frame.y + v.frame.height);
    });
  }
  async function tapRow(label) {
    const r = await reveal(label);
    const before = await version();
    await click(...centre(r.frame));
    await waitFor(`the phone to redraw after tapping "${label}"`, async () => (await version()) > before);
  }

  await waitFor('the phone', async () => (await version()) > 0);
  await phoneFits(page);
  // Settings from the home screen, then Hushmark's row on its list.
  if ((await front()) !== 'Settings') {
    if ((await front()) !== 'home') await page.click('#home');
    await waitFor('the home screen', async () => (await front()) === 'home');
    const icon = findView((await inspect('phone')).views, (v) => v.tag === 4400) || fail('no Settings icon on the home screen');
    await click(...centre(icon.frame));
    await waitFor('Settings in front', async () => (await front()) === 'Settings');
  }
  if (!(await rows()).some((r) => r.label === 'Enabled')) {
    await tapRow('Hushmark');
    await waitFor('Hushmark\'s page', async () => (await rows()).some((r) => r.label === 'Enabled'));
  }

  // Ready at first sight: the clock runs at 1x and libstatusbar is there (the icon row is on offer).
  await waitFor('the 1x button to show the running clock', () => page.$eval('[data-rate="1"]', (b) => b.classList.contains('active')));
  if (!(await row('Status Bar Icon')).enabled) fail('the "Status Bar Icon" row is greyed on a plain serve');
  // The tweak looks at the settings 5 s after SpringBoard's launch, on the device's clock. The
  // test sets that clock back days below, which would leave that look days ahead: it waits until
  // it has happened, as a person reading the screen would anyway.
  const seconds = (hms) => hms.split(':').map(Number).reduce((sum, part) => sum * 60 + part, 0);
  const launched = await waitFor('SpringBoard\'s launch in the timeline',
    async () => (await timeline()).match(/(\d\d:\d\d:\d\d)\s+springboard launched/)?.[1]);
  await waitFor('6 s on the device\'s clock since SpringBoard launched', async () => {
    const now = (await inspect('springboard')).time.slice(11, 19);
    return (seconds(now) - seconds(launched) + 86400) % 86400 >= 6;
  }, 30000);
  // From here on the clock is the test's: paused at a known morning.
  await page.click('[data-rate="0"]');
  await page.fill('#time-input', '2026-12-07 08:00:00');
  await page.click('#set-time button');
  await waitFor('the clock set to 08:00', async () => (await inspect('springboard')).time === '2026-12-07 08:00:00');

  // Enabled on, then Disarm Now: the status row tells until when alarms stay silent.
  const enabled = await switchOf('Enabled');
  await click(...centre(enabled.frame));
  await waitFor('the Enabled switch to turn on', async () => (await switchOf('Enabled')).on === true);
  // The status row: the one below "Clear".
  const statusRow = async () => {
    const all = await rows();
    const r = all[all.findIndex((x) => x.label === 'Clear') + 1];
    return r && { label: r.label, value: r.value };
  };
  const statusBefore = JSON.stringify(await statusRow());
  await tapRow('Disarm Now');
  await waitFor('the status row to change', async () => JSON.stringify(await statusRow()) !== statusBefore);
  await waitFor('Hushmark\'s status-bar icon to show', async () => (await timeline()).includes('status item visible  Hushmark'));

  // An alarm inside the disarm time is dropped when the clock runs past it.
  await page.fill('#alarm-time', '08:05:00');
  await page.fill('#alarm-label', 'Coffee');
  await page.click('#add-alarm button');
  await waitFor('the alarm in the list', async () => (await page.textContent('#alarms')).includes('Coffee'));
  await page.click('[data-rate="3600"]');
  await waitFor('"alarm dropped" in the timeline', async () => (await timeline()).includes('alarm dropped  Coffee'));
  await page.click('[data-rate="0"]');

  // Clear, lock, let an alarm ring; the extra button on the lock screen's alert is tapped.
  await tapRow('Clear');
  const buttons = await switchOf('Button on Alarm Alerts');
  if (!buttons.on) {
    await click(...centre(buttons.frame));
    await waitFor('the extra buttons to turn on', async () => (await switchOf('Button on Alarm Alerts')).on === true);
  }
  await page.click('#lock');
  await page.fill('#alarm-time', '10:30:00');
  await page.fill('#alarm-label', 'Standup');
  await page.click('#add-alarm button');
  await waitFor('the second alarm in the list', async () => (await page.textContent('#alarms')).includes('Standup'));
  await page.click('#next-alarm');
  const alert = await waitFor('the alarm to ring on the lock screen', async () => {
    const phone = await inspect('phone');
    return phone.alerts.find((a) => a.accessory && a.title.includes('Standup'));
  });
  const extra = findView(alert.accessory, (v) => v.class === 'UIButton' && v.title) || fail(`no button in ${JSON.stringify(alert.accessory)}`);
  const linesBefore = (await timeline()).length;
  await click(...centre(extra.frame));
  await waitFor('the extra button\'s effect in the timeline', async () => (await timeline()).slice(linesBefore).includes('alert dismissed'));

  // The color page: a drag on the picker changes the sample and the saved color.
  await page.click('#unlock');
  await waitFor('Settings in front again after unlocking', async () => (await front()) === 'Settings');
  const savedBefore = (await row('Button Color')).background;
  await tapRow('Button Color');
  const colorPage = await inspect('phone');
  const picker = findView(colorPage.views, (v) => /^HM(HueSaturation|HueBrightness|BrightnessSaturation)View$/.test(v.class))
    || fail('no picker on the color page');
  const hexText = (inspection) => findView(inspection.views, (v) => v.class === 'UILabel' && /^#[0-9A-F]{6}$/.test(v.text || ''))?.text;
  const sample = (inspection) => findView(inspection.views, (v) => v.class === 'UILabel' && v.text === 'Button')?.background;
  const hexBefore = hexText(colorPage) || fail('no hex text on the color page');
  const sampleBefore = sample(colorPage) || fail('no sample on the color page');
  const { perPoint } = await at(0, 0);
  const box = await page.locator('#phone canvas').boundingBox();
  const point = (fx, fy) => ({ x: box.x + (picker.frame.x + picker.frame.width * fx) * perPoint, y: box.y + (picker.frame.y + picker.frame.height * fy) * perPoint });
  const from = point(0.2, 0.3), to = point(0.85, 0.15);
  // A drag at about 60 moves a second; the page's corner shows the pictures it paints a second
  // and the touch-to-picture latency, read before the release. Printed, not a pass condition
  // (the machine may be loaded), but the corner must show figures.
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  const moves = 90, started = Date.now();
  for (let i = 1; i <= moves; ++i) {
    await page.mouse.move(from.x + (to.x - from.x) * i / moves, from.y + (to.y - from.y) * i / moves);
    const due = started + i * 1000 / 60;
    if (due > Date.now()) await new Promise((resolve) => setTimeout(resolve, due - Date.now()));
  }
  const corner = await page.$eval('#frames', (frames) => ({ text: frames.textContent, fps: Number(frames.dataset.fps || 0), latency: frames.dataset.latency }));
  const moveRate = moves / ((Date.now() - started) / 1000);
  await page.mouse.up();
  if (!/^\d+ fps · \d+ ms$/.test(corner.text) || corner.fps < 1) fail(`the corner shows "${corner.text}" while dragging`);
  console.log(`drag on the picker at ${moveRate.toFixed(0)} moves/s: ${corner.fps} pictures painted in the last second, touch to picture ${corner.latency} ms (median of the last 30); the corner reads "${corner.text}"`);
  // The page may still be sending the drag's last touches: wait for the color to settle.
  let previous = null;
  const after = await waitFor('the hex text and the sample to change and settle', async () => {
    const now = await inspect('phone');
    const settled = previous && hexText(now) === hexText(previous) && hexText(now) !== hexBefore && sample(now) !== sampleBefore;
    previous = now;
    if (!settled) await new Promise((resolve) => setTimeout(resolve, 150));
    return settled ? now : null;
  });
  const hexAfter = hexText(after);
  if (!sample(after).startsWith(hexAfter)) fail(`the sample shows ${sample(after)}, the hex text ${hexAfter}`);
  await waitFor('the picture to show it', async () => (await version()) > 0);
  await page.screenshot({ path: screenshotPath });
  console.log(`screenshot: ${screenshotPath}`);

  // Back on Hushmark's page, the Button Color row shows the saved color.
  const back = findView(after.views, (v) => v.frame.y < 64 && /Hushmark/.test(v.title || v.text || '') && v.frame.x < 100)
    || fail('no back button on the color page');
  await click(...centre(back.frame));
  await waitFor(`the Button Color row in ${hexAfter}`, async () => {
    const r = await row('Button Color').catch(() => null);
    return r && r.background === hexAfter && r.background !== savedBefore;
  });
  // Click to updated picture: from the mouse's release on a switch to the page showing the
  // device's new picture, timed in the page. A measured figure, printed, not a pass condition.
  await page.evaluate(() => {
    window.hmTimes = { released: [], shown: [] };
    document.querySelector('#phone').addEventListener('pointerup', () => window.hmTimes.released.push(performance.now()), true);
    document.querySelector('#phone canvas').addEventListener('painted', () => window.hmTimes.shown.push(performance.now()));
  });
  const toggle = await switchOf('Color Picker Above Sliders');
  for (let i = 0; i < 12; ++i) {
    const shown = await page.evaluate(() => window.hmTimes.shown.length);
    await click(...centre(toggle.frame));
    await waitFor('the toggled switch\'s picture', async () => (await page.evaluate(() => window.hmTimes.shown.length)) > shown);
  }
  const { released, shown } = await page.evaluate(() => window.hmTimes);
  const delays = released.map((t) => shown.find((s) => s >= t) - t).filter((d) => Number.isFinite(d)).sort((a, b) => a - b);
  const median = delays[Math.floor(delays.length / 2)];
  console.log(`click to updated picture: median ${median.toFixed(1)} ms, fastest ${delays[0].toFixed(1)} ms, slowest ${delays[delays.length - 1].toFixed(1)} ms over ${delays.length} clicks`);

  // The home button under the phone: the home screen, and Settings resumed as it was left.
  await page.click('#home');
  await waitFor('the home screen after the home button', async () => (await front()) === 'home');
  const settingsIcon = findView((await inspect('phone')).views, (v) => v.tag === 4400) || fail('no Settings icon');
  await click(...centre(settingsIcon.frame));
  await waitFor('Settings resumed on Hushmark\'s page', async () => (await front()) === 'Settings' &&
    (await rows()).some((r) => r.label === 'Color Picker Above Sliders'));

  await clockAlarmOverSettings();
  await otherPageAndDownloads();
  await keyboardAndCaret();

  // A respring relaunches the server on the same port; the page reconnects, a set alarm stays.
  await page.fill('#alarm-time', '11:00:00');
  await page.fill('#alarm-label', 'Later');
  await page.click('#add-alarm button');
  await waitFor('the third alarm in the list', async () => (await page.textContent('#alarms')).includes('Later'));
  // An add-on ticked now is installed by the respring, as a package manager does.
  const addonText = () => page.$eval('input[data-addon="flipswitch"]', (box) => `${box.checked} ${box.parentElement.textContent}`).catch(() => '');
  if ((await addonText()).startsWith('true')) fail('flipswitch is installed on a plain serve');
  await page.check('input[data-addon="flipswitch"]');
  await waitFor('flipswitch chosen for the next respring', async () => (await addonText()) === 'true  flipswitch (installed at the next respring)');
  await page.click('#respring');
  await waitFor('the relaunched server', () => output.includes('springboard relaunched'));
  await waitFor('flipswitch installed after the respring', async () => (await addonText()) === 'true  flipswitch');
  await waitFor('the page to reconnect', async () => (await page.textContent('#connection')) === 'live' &&
    (await page.textContent('#alarms')).includes('Later'));
  const relaunched = await inspect('springboard');
  if (!relaunched.springboard.booted || !relaunched.springboard.alarms.some((a) => a.label === 'Later'))
    fail(`after the respring: ${JSON.stringify(relaunched.springboard)}`);
  // The session goes on over the respring: replayed, what follows the relaunch is what the page
  // shows after it (the runner's timeline leaves out the relaunch's own loading lines).
  await page.click('#next-alarm');
  await waitFor('"Later" to fall due', async () => /alarm (delivered|dropped) {2}Later/.test(await timeline()));
  await page.click('[data-rate="0"]');
  const afterRespring = await downloaded(page, () => page.click('#session-download'));
  if (!/\naddon install flipswitch\n(.*\n)*respring\n/.test(afterRespring.bytes.toString())) fail(`the session over the respring:\n${afterRespring.bytes}`);
  const replayedAll = events(await run(program, afterRespring.file));
  const replayedAfter = replayedAll.slice(replayedAll.findIndex((l) => l.endsWith('  springboard relaunching')) + 1);
  const shownAfter = async () => {
    const shown = events(await timeline());
    return shown.slice(shown.findLastIndex((l) => l.endsWith('  springboard launched')) + 1);
  };
  await waitFor('the page\'s timeline since the respring to be the replay\'s', async () => JSON.stringify(await shownAfter()) === JSON.stringify(replayedAfter), 5000)
    .catch(async () => fail(`the replay over the respring:\n${replayedAfter.join('\n')}\n---\n${(await shownAfter()).join('\n')}`));
  if (!replayedAfter.some((l) => /alarm (delivered|dropped) {2}Later$/.test(l))) fail(`no alarm after the respring in the replay:\n${replayedAll.join('\n')}`);
  afterRespring.done();

  // A reset starts a fresh device with the chosen time zone and screen: no alarms, the add-ons kept.
  await page.fill('#reset-timezone', 'Asia/Tokyo');
  await page.selectOption('#reset-screen', '375x667');
  await page.click('#reset button');
  await waitFor('the fresh device', async () => {
    try {
      const d = await (await fetch(`${base}api/device`)).json();
      return d.width === 375 && d.timeZone === 'Asia/Tokyo';
    } catch (error) { return false; } // relaunching
  });
  const fresh = await inspect('springboard');
  if (fresh.springboard.alarms.length !== 0) fail(`alarms after a reset: ${JSON.stringify(fresh.springboard.alarms)}`);
  await page.reload();
  await waitFor('flipswitch still installed after the reset', async () => (await addonText()) === 'true  flipswitch');

  // The phone fits any window, the controls beside it or below it.
  for (const [width, height] of [[500, 900], [1400, 900], [320, 640]]) {
    await page.setViewportSize({ width, height });
    await page.evaluate(() => window.scrollTo(0, 0)); // as a person who opens the page sees it
    await page.waitForTimeout(100);
    const boxes = await phoneFits(page);
    if (width === 500) {
      const narrow = join(tmpdir(), 'hushmark-serve-500.png');
      await page.screenshot({ path: narrow });
      console.log(`the page at 500 px: ${narrow}`);
    }
    console.log(`at ${width}x${height}: screens ${boxes.map((b) => `${Math.round(b.width)}x${Math.round(b.height)}`).join(', ')}`);
  }

  exitCode = 0;

  // A second page shows the same device and has its own finger; the page's downloads; a
  // recorded session replayed with hushmark-sim run gives the page's timeline.
  // The Clock app adds an alarm through its own screens (the + button, then Save with the picker
  // at the time it shows); back in Settings the clock runs to it, it rings over Settings, and the
  // extra button on its alert stops it.
  async function clockAlarmOverSettings() {
    const openFromHome = async (tag, name) => {
      if ((await front()) !== 'home') await page.click('#home');
      await waitFor('the home screen', async () => (await front()) === 'home');
      const icon = findView((await inspect('phone')).views, (v) => v.tag === tag) || fail(`no ${name} icon on the home screen`);
      await click(...centre(icon.frame));
      await waitFor(`${name} in front`, async () => (await front()) === name);
    };
    // A control of the Clock app by the text of its label ("+", "Save").
    const control = async (text) => findView((await inspect('phone')).views,
      (v) => v.class === 'UIControl' && !v.hidden && (v.subviews || []).some((s) => s.text === text));
    await openFromHome(4401, 'Clock');
    await click(...centre((await waitFor('the Clock app\'s + button', () => control('+'))).frame));
    const save = await waitFor('the Add Alarm screen', () => control('Save'));
    const alarmsBefore = (await inspect('springboard')).springboard.alarms.length;
    await click(...centre(save.frame));
    await waitFor('the Clock app\'s alarm in SpringBoard\'s list', async () =>
      (await inspect('springboard')).springboard.alarms.length === alarmsBefore + 1);
    await openFromHome(4400, 'Settings');
    await page.click('#next-alarm');
    const ringing = await waitFor('the alarm to ring over Settings', async () => {
      const phone = await inspect('phone');
      return phone.phone.front === 'Settings' && phone.alerts.find((a) => a.accessory);
    });
    const stop = findView(ringing.accessory, (v) => v.class === 'UIButton' && v.title) || fail(`no button in ${JSON.stringify(ringing.accessory)}`);
    const before = (await timeline()).length;
    await click(...centre(stop.frame));
    await waitFor('the extra button to stop the alarm over Settings', async () => {
      const since = (await timeline()).slice(before);
      return since.includes('alarm stopped') && since.includes('alert dismissed');
    });
    if ((await inspect('phone')).alerts.length !== 0) fail('an alert stays over Settings after the extra button');
  }

  async function otherPageAndDownloads() {
    const other = await context.newPage();
    other.on('pageerror', (error) => fail(`second page error: ${error.message}`));
    await other.goto(base);
    await waitFor('the second page\'s screens', async () => (await version(other)) > 0);
    // In sync: what one page does, the other shows.
    await other.click('[data-rate="60"]');
    await waitFor('the first page to show the rate the second chose', () => page.$eval('[data-rate="60"]', (b) => b.classList.contains('active')));
    await page.click('[data-rate="0"]');
    await waitFor('the second page to show the clock paused', () => other.$eval('[data-rate="0"]', (b) => b.classList.contains('active')));
    await waitFor('both clocks alike', async () => (await page.textContent('#clock')) === (await other.textContent('#clock')));
    // Each its own finger: while the first page's is down, the second's touch is refused beside
    // its screen, and the first one's finger stays down and lifts as its own.
    const title = await at(160, 42);
    await page.mouse.move(title.x, title.y);
    await page.mouse.down();
    await waitFor('the first page\'s finger circle', () => page.$eval('#phone .finger', (f) => !f.hidden));
    await page.waitForTimeout(200);
    const there = await at(160, 42, other);
    await other.mouse.click(there.x, there.y);
    await waitFor('the second page told its touch waits', async () => /another page's finger is down/.test(await other.textContent('figure:has(#phone) .note')));
    await page.mouse.up();
    await waitFor('the first page\'s finger circle gone', () => page.$eval('#phone .finger', (f) => f.hidden));
    if (await page.textContent('figure:has(#phone) .note')) fail(`the first page's touch: ${await page.textContent('figure:has(#phone) .note')}`);
    await other.mouse.click(there.x, there.y);
    await waitFor('the second page\'s touch taken once the first lifted', async () => !(await other.textContent('figure:has(#phone) .note')));
    await other.close();

    const shot = await downloaded(page, () => page.click('#screenshot'));
    const size = pngSize(shot.bytes);
    const device = await (await fetch(`${base}api/device`)).json();
    if (size.height !== device.height * device.scale || size.width % (device.width * device.scale) !== 0)
      fail(`the screenshot is ${size.width}x${size.height}`);
    shot.done();
    const timelineFile = await downloaded(page, () => page.click('#timeline-download'));
    const timelineText = timelineFile.bytes.toString();
    if (!timelineText.includes('springboard launched') || !timelineText.includes('alert dismissed')) fail(`the timeline download: ${timelineText.slice(0, 200)}`);
    timelineFile.done();

    const session = await downloaded(page, () => page.click('#session-download'));
    const text = session.bytes.toString();
    if (session.name !== 'session.scn' || !/\ntouch move \w+ /.test(text)) fail(`the session download ${session.name}: ${text.slice(0, 300)}`);
    const replayed = events(await run(program, session.file));
    await waitFor('the page\'s timeline to be the replay\'s', async () => JSON.stringify(events(await timeline())) === JSON.stringify(replayed), 5000)
      .catch(async () => fail(`the replay's timeline differs from the page's:\n${replayed.join('\n')}\n---\n${events(await timeline()).join('\n')}`));
    console.log(`a session of ${text.split('\n').length} lines replayed to the page's ${replayed.length} timeline events`);
    session.done();
  }

  // Shortcuts from the keyboard; the caret in the text field being edited.
  async function keyboardAndCaret() {
    await page.click('header h1');
    await page.keyboard.press('?');
    await waitFor('the help panel', () => page.isVisible('#help'));
    await page.keyboard.press('Escape');
    await waitFor('the help panel closed', async () => !(await page.isVisible('#help')));
    await page.keyboard.press('3');
    await waitFor('the clock at 3600x by its key', () => page.$eval('[data-rate="3600"]', (b) => b.classList.contains('active')));
    await page.keyboard.press('0');
    await waitFor('the clock paused by its key', () => page.$eval('[data-rate="0"]', (b) => b.classList.contains('active')));
    const field = await reveal('Minutes to Disarm');
    await click(field.frame.x + field.frame.width - 30, field.frame.y + field.frame.height / 2);
    await waitFor('the caret in the field being edited', () => page.$eval('#phone .caret', (c) => !c.hidden));
    const caretX = () => page.$eval('#phone .caret', (c) => c.getBoundingClientRect().x);
    await page.keyboard.press('Backspace');
    await page.keyboard.press('Backspace');
    await waitFor('the field emptied', async () => (await (await fetch(`${base}api/inspect/phone`)).json()).editing?.text === '');
    await page.waitForTimeout(300);
    const empty = await caretX();
    await page.keyboard.type('45');
    await waitFor('the caret to move past the text typed', async () => (await caretX()) > empty + 8);
    await page.keyboard.press('Enter');
    await waitFor('the row to take the text', async () => (await row('Minutes to Disarm')).value === '45');
    await waitFor('the caret gone when the editing ends', () => page.$eval('#phone .caret', (c) => c.hidden));
  }
} catch (error) {
  console.error(`browser test failed: ${error.message}`);
} finally {
  await browser.close();
  server.kill('SIGINT');
}
const { code, signal } = await serverExit;
if (code !== 0) {
  console.error(`the server did not stop cleanly on Ctrl-C (exit ${code}, signal ${signal})`);
  exitCode = 1;
} else if (!output.includes('stopped')) {
  console.error('the server did not say it stopped');
  exitCode = 1;
}
process.exit(exitCode);
