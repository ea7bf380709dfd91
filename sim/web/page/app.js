// The page of `hushmark-sim serve`: shows the phone as the device draws it, turns the mouse
// into touches and the keyboard into typing, has the home button under the phone, and drives
// the clock, alarms and lock.
'use strict';

const $ = (selector) => document.querySelector(selector);
const screens = { phone: $('#phone') };
let device = { width: 320, height: 568, scale: 2 };

function say(text) { $('#message').textContent = text || ''; }

async function act(body) {
  try {
    const response = await fetch('/api/action', {
      method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body),
    });
    const answer = await response.json();
    if (!response.ok) say(answer.error || `refused (${response.status})`);
    return answer;
  } catch (error) {
    say('the device does not answer');
    return { error: String(error) };
  }
}

// Touches go one request at a time, in order; a move waiting behind another request is
// replaced by a newer one, so a fast drag never builds a backlog.
const touches = [];
let sending = false;
function queueTouch(touch) {
  const last = touches[touches.length - 1];
  if (touch.phase === 'move' && last && last.phase === 'move' && last.screen === touch.screen) touches[touches.length - 1] = touch;
  else touches.push(touch);
  if (!sending) sendTouches();
}
async function sendTouches() {
  sending = true;
  while (touches.length) {
    const touch = touches.shift();
    if (!(touch.screen in touchSent)) touchSent[touch.screen] = performance.now();
    const answer = await act({ action: 'touch', ...touch });
    if (touch.phase !== 'move' && !answer.error) say('');
  }
  sending = false;
}

function pointIn(element, event) {
  const canvas = element.querySelector('canvas');
  const box = canvas.getBoundingClientRect();
  const clamp = (v, max) => Math.round(Math.min(Math.max(v, 0), max) * 100) / 100;
  return { x: clamp(event.clientX - box.left, canvas.clientWidth || device.width), y: clamp(event.clientY - box.top, canvas.clientHeight || device.height) };
}

for (const [name, element] of Object.entries(screens)) {
  let pressed = false;
  element.addEventListener('pointerdown', (event) => {
    if (event.button !== 0) return;
    pressed = true;
    element.setPointerCapture(event.pointerId);
    element.focus();
    event.preventDefault();
    queueTouch({ phase: 'down', screen: name, ...pointIn(element, event) });
  });
  element.addEventListener('pointermove', (event) => {
    if (pressed) queueTouch({ phase: 'move', screen: name, ...pointIn(element, event) });
  });
  const release = (event) => {
    if (!pressed) return;
    pressed = false;
    queueTouch({ phase: 'up', screen: name, ...pointIn(element, event) });
  };
  element.addEventListener('pointerup', release);
  element.addEventListener('pointercancel', release);
}

document.addEventListener('keydown', (event) => {
  const target = event.target;
  if (target instanceof HTMLInputElement || target instanceof HTMLTextAreaElement || target instanceof HTMLSelectElement) return;
  if (event.ctrlKey || event.metaKey || event.altKey) return;
  if (event.key === 'Enter') act({ action: 'key', key: 'return' });
  else if (event.key === 'Backspace') act({ action: 'key', key: 'backspace' });
  else if (event.key.length === 1) act({ action: 'type', text: event.key });
  else return;
  event.preventDefault();
});

for (const button of document.querySelectorAll('[data-rate]'))
  button.addEventListener('click', () => act({ action: 'rate', rate: Number(button.dataset.rate) }));
$('#next-alarm').addEventListener('click', () => act({ action: 'nextAlarm' }));
$('#set-time').addEventListener('submit', (event) => {
  event.preventDefault();
  act({ action: 'setTime', time: $('#time-input').value.trim() });
});
$('#add-alarm').addEventListener('submit', (event) => {
  event.preventDefault();
  let time = $('#alarm-time').value;
  if (/^\d\d:\d\d$/.test(time)) time += ':00';
  act({ action: 'addAlarm', time, label: $('#alarm-label').value, snooze: $('#alarm-snooze').checked, daily: $('#alarm-daily').checked });
});
$('#lock').addEventListener('click', () => act({ action: 'lock', locked: true }));
$('#unlock').addEventListener('click', () => act({ action: 'lock', locked: false }));
$('#respring').addEventListener('click', () => act({ action: 'respring' }));
// The home button: a click goes home; a double click (home pressed twice) shows the switcher.
$('#home').addEventListener('click', () => act({ action: 'home' }));
$('#home').addEventListener('dblclick', () => act({ action: 'switcher' }));

function showState(state) {
  $('#clock').textContent = `${state.time} ${state.timeZone}${state.locked ? ' · locked' : ''}`;
  for (const button of document.querySelectorAll('[data-rate]')) button.classList.toggle('active', Number(button.dataset.rate) === state.rate);
  $('#next-alarm-time').textContent = state.nextAlarm ? `next: ${state.nextAlarm}` : 'no alarm set';
  const list = $('#alarms');
  list.replaceChildren(...state.alarms.map((alarm) => {
    const item = document.createElement('li');
    const text = document.createElement('span');
    text.textContent = `${alarm.time} ${alarm.label || 'Alarm'}${alarm.daily ? ' · daily' : ''}${alarm.snooze ? '' : ' · no snooze'}`;
    const remove = document.createElement('button');
    remove.textContent = 'Remove';
    remove.addEventListener('click', () => act({ action: 'removeAlarm', id: alarm.id }));
    item.append(text, remove);
    return item;
  }));
}

// The add-ons with a box each: ticked when installed, or when chosen for the next respring.
function showAddons(addons) {
  $('#addons').replaceChildren(...(addons || []).map((addon) => {
    const item = document.createElement('li');
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.dataset.addon = addon.name;
    box.checked = addon.atRespring ? addon.atRespring === 'install' : addon.installed;
    box.addEventListener('change', () => act({ action: 'addon', name: addon.name, install: box.checked }));
    const note = addon.atRespring ? ` (${addon.atRespring === 'install' ? 'installed' : 'removed'} at the next respring)` : '';
    label.append(box, ` ${addon.name}${note}`);
    item.append(label);
    return item;
  }));
}

// The fresh-device form, filled with the device's own locale, time zone and screen.
function setUpReset(device) {
  $('#reset-locale').value = device.locale || 'en_US';
  $('#reset-timezone').value = device.timeZone || 'UTC';
  $('#reset-screen').value = `${device.width}x${device.height}`;
  $('#reset').addEventListener('submit', (event) => {
    event.preventDefault();
    act({ action: 'reset', locale: $('#reset-locale').value.trim(), timeZone: $('#reset-timezone').value.trim(), screen: $('#reset-screen').value });
  });
}

// Pictures: a screen's whole picture, then only the rectangles that changed, painted in the order
// they came (decoding is asynchronous, so each screen paints through a chain of promises).
const painting = { phone: Promise.resolve() };
async function decode(base64) {
  const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
  return createImageBitmap(new Blob([bytes], { type: 'image/png' }));
}
function paint(message, whole) {
  const element = screens[message.screen];
  if (!element) return;
  const canvas = element.querySelector('canvas');
  const parts = whole ? [{ x: 0, y: 0, png: message.png }] : message.tiles;
  const images = Promise.all(parts.map((part) => decode(part.png)));
  painting[message.screen] = painting[message.screen].then(async () => {
    let bitmaps;
    try { bitmaps = await images; } catch (error) { return; }
    if (whole) {
      canvas.width = bitmaps[0].width;
      canvas.height = bitmaps[0].height;
    } else if (canvas.width !== message.width || canvas.height !== message.height) {
      return; // tiles of another size: the whole picture that follows replaces them
    }
    const context = canvas.getContext('2d');
    parts.forEach((part, i) => context.drawImage(bitmaps[i], part.x, part.y));
    for (const bitmap of bitmaps) bitmap.close();
    canvas.dataset.version = String(message.version);
    painted(message.screen);
    canvas.dispatchEvent(new Event('painted'));
  });
}

// The corner's figures: pictures painted in the last second, and the time from a touch sent to
// the next picture of its screen painted (the median of the last 30).
const touchSent = {};
const paints = [];
const latencies = [];
function painted(screen) {
  const now = performance.now();
  paints.push(now);
  while (paints.length && paints[0] < now - 1000) paints.shift();
  if (screen in touchSent) {
    latencies.push(now - touchSent[screen]);
    delete touchSent[screen];
    if (latencies.length > 30) latencies.shift();
  }
  const sorted = [...latencies].sort((a, b) => a - b);
  const median = sorted.length ? sorted[Math.floor(sorted.length / 2)] : null;
  const frames = $('#frames');
  frames.dataset.fps = String(paints.length);
  frames.dataset.latency = median === null ? '' : median.toFixed(1);
  frames.textContent = `${paints.length} fps · ${median === null ? '–' : median.toFixed(0)} ms`;
}

function addLines(lines) {
  const box = $('#timeline');
  const atEnd = box.scrollTop + box.clientHeight >= box.scrollHeight - 4;
  box.append(lines.join('\n') + '\n');
  while (box.childNodes.length > 2000) box.removeChild(box.firstChild);
  if (atEnd) box.scrollTop = box.scrollHeight;
}

async function start() {
  try {
    device = await (await fetch('/api/device')).json();
  } catch (error) { /* the defaults */ }
  setUpReset(device);
  for (const element of Object.values(screens)) {
    element.style.width = `${device.width + 16}px`;
    element.style.height = `${device.height + 16}px`;
    element.querySelector('canvas').style.width = `${device.width}px`;
  }
  const events = new EventSource('/api/events');
  events.addEventListener('open', () => {
    $('#connection').textContent = 'live';
    $('#connection').classList.remove('offline');
    $('#timeline').textContent = '';
  });
  events.addEventListener('error', () => {
    $('#connection').textContent = 'reconnecting…';
    $('#connection').classList.add('offline');
  });
  events.addEventListener('screen', (event) => paint(JSON.parse(event.data), true));
  events.addEventListener('tiles', (event) => paint(JSON.parse(event.data), false));
  events.addEventListener('timeline', (event) => addLines(JSON.parse(event.data).lines));
  events.addEventListener('state', (event) => showState(JSON.parse(event.data)));
  events.addEventListener('state', (event) => showAddons(JSON.parse(event.data).addons));
}
start();
