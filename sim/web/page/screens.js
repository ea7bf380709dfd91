// The device's screens on the page: each made when its first picture comes (the device names
// them), scaled to fit the window keeping the device's aspect, painted from whole pictures and
// changed rectangles, touched with the mouse through this page's own finger (a circle shows
// where it is), and a caret in the text field being edited.
'use strict';

const $ = (selector) => document.querySelector(selector);
const screens = {}; // name -> {frame, canvas, finger, caret, note}
let device = { width: 320, height: 568, scale: 2 };
let shown = 1; // CSS pixels a device point
// This page's finger: the device refuses another page's touch while this one is down.
const fingerId = `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 10)}`;
const captions = { springboard: 'SpringBoard', settings: 'Settings' };

function screenFor(name) {
  if (screens[name]) return screens[name];
  const figure = document.createElement('figure');
  const caption = document.createElement('figcaption');
  caption.textContent = captions[name] || '';
  caption.hidden = !captions[name]; // the phone needs no caption
  const frame = document.createElement('div');
  frame.className = 'screen';
  frame.id = name;
  frame.dataset.screen = name;
  frame.tabIndex = 0;
  const canvas = document.createElement('canvas');
  canvas.setAttribute('aria-label', `the ${captions[name] || name} screen`);
  const finger = document.createElement('div');
  finger.className = 'finger';
  finger.hidden = true;
  const caret = document.createElement('div');
  caret.className = 'caret';
  caret.hidden = true;
  const note = document.createElement('p');
  note.className = 'note';
  note.setAttribute('role', 'status');
  frame.append(canvas, finger, caret);
  figure.append(caption, frame, note);
  $('#screens').append(figure);
  const screen = { name, frame, canvas, finger, caret, note };
  screens[name] = screen;
  listenForTouches(screen);
  layOut();
  return screen;
}

// The phone's size: as large as the window lets it be, the controls beside it when there is
// room and below it otherwise, never over it.
function layOut() {
  const names = Object.keys(screens);
  const count = Math.max(names.length, 1);
  const main = $('main');
  const gap = 12, border = 16, note = 18, home = 54;
  const caption = names.some((name) => captions[name]) ? 21 : 0;
  const stacked = window.innerWidth < 860 + (count - 1) * 260;
  main.classList.toggle('stacked', stacked);
  const padding = 32;
  const width = window.innerWidth - padding - (stacked ? 0 : 420 + 16) - (count - 1) * gap - count * border;
  const height = window.innerHeight - $('header').offsetHeight - 24 - caption - note - border - home;
  shown = Math.max(0.25, Math.min(3, width / count / device.width, height / device.height));
  for (const screen of Object.values(screens)) {
    screen.frame.style.width = `${device.width * shown + border}px`;
    screen.frame.style.height = `${device.height * shown + border}px`;
    sizeCanvas(screen);
  }
  showCaret();
}
window.addEventListener('resize', layOut);

function sizeCanvas(screen) {
  const pixels = screen.canvas.width ? screen.canvas.width / device.width : device.scale;
  screen.canvas.style.width = `${device.width * shown}px`;
  screen.canvas.style.height = `${(screen.canvas.height / pixels || device.height) * shown}px`;
}

// A mouse position as a point of the screen (its picture may be taller than the screen and
// scrolled in its frame).
function pointIn(screen, event) {
  const box = screen.canvas.getBoundingClientRect();
  const perPoint = box.width / device.width || 1;
  const height = box.height / perPoint;
  const clamp = (v, max) => Math.round(Math.min(Math.max(v, 0), max) * 100) / 100;
  return { x: clamp((event.clientX - box.left) / perPoint, device.width), y: clamp((event.clientY - box.top) / perPoint, height) };
}

function showFinger(screen, point) {
  screen.finger.hidden = !point;
  if (!point) return;
  screen.finger.style.left = `${point.x * shown}px`;
  screen.finger.style.top = `${point.y * shown}px`;
}

// Touches go one request at a time, in order; a move waiting behind another request is
// replaced by a newer one, so a fast drag never builds a backlog.
const touches = [];
let sending = false;
function queueTouch(touch, screen) {
  const last = touches[touches.length - 1];
  const entry = { body: { action: 'touch', finger: fingerId, ...touch }, screen };
  if (touch.phase === 'move' && last && last.body.phase === 'move' && last.body.screen === touch.screen) touches[touches.length - 1] = entry;
  else touches.push(entry);
  if (!sending) sendTouches();
}
async function sendTouches() {
  sending = true;
  while (touches.length) {
    const { body, screen } = touches.shift();
    if (!(body.screen in touchSent)) touchSent[body.screen] = performance.now();
    const answer = await act(body, screen.note);
    if (body.phase !== 'move' && !answer.error) say(screen.note, '');
  }
  sending = false;
}

function listenForTouches(screen) {
  const { frame, name } = screen;
  let pressed = false;
  frame.addEventListener('pointerdown', (event) => {
    if (event.button !== 0) return;
    pressed = true;
    frame.setPointerCapture(event.pointerId);
    frame.focus();
    event.preventDefault();
    const point = pointIn(screen, event);
    showFinger(screen, point);
    queueTouch({ phase: 'down', screen: name, ...point }, screen);
  });
  frame.addEventListener('pointermove', (event) => {
    if (!pressed) return;
    const point = pointIn(screen, event);
    showFinger(screen, point);
    queueTouch({ phase: 'move', screen: name, ...point }, screen);
  });
  const release = (event) => {
    if (!pressed) return;
    pressed = false;
    showFinger(screen, null);
    queueTouch({ phase: 'up', screen: name, ...pointIn(screen, event) }, screen);
  };
  frame.addEventListener('pointerup', release);
  frame.addEventListener('pointercancel', release);
  frame.addEventListener('lostpointercapture', release);
}
// A page closed mid-drag lifts its finger, so the other pages need not wait for it.
window.addEventListener('pagehide', () => {
  for (const screen of Object.values(screens))
    if (!screen.finger.hidden)
      fetch('/api/action', { method: 'POST', keepalive: true, headers: { 'Content-Type': 'application/json' },
        body: JSON.stringify({ action: 'touch', phase: 'up', finger: fingerId, screen: screen.name, x: 0, y: 0 }) });
});

// The caret: at the end of the text in the field being edited, found on the picture itself
// (the last column with ink in the field, past the text inset), blinking.
let editing = null;
function showCaret() {
  for (const screen of Object.values(screens)) screen.caret.hidden = true;
  // On a phone every app's window is the phone's whole screen: the field lies where it shows.
  const screen = editing && (screens[editing.screen] || screens.phone);
  if (!screen || !screen.canvas.width) return;
  const f = editing.frame;
  const inset = 6;
  let x = f.x + inset;
  if (editing.text) {
    const pixels = screen.canvas.width / device.width;
    const left = Math.round((f.x + inset) * pixels), top = Math.round((f.y + f.height * 0.2) * pixels);
    const width = Math.max(1, Math.round((f.width - 2 * inset) * pixels)), height = Math.max(1, Math.round(f.height * 0.6 * pixels));
    try {
      const data = screen.canvas.getContext('2d').getImageData(left, top, width, height).data;
      const at = (i) => data[i] + data[i + 1] + data[i + 2];
      const background = at(((height >> 1) * width + width - 1) * 4);
      let last = -1;
      for (let column = width - 1; column >= 0 && last < 0; --column)
        for (let row = 0; row < height; ++row)
          if (Math.abs(at((row * width + column) * 4) - background) > 120) { last = column; break; }
      if (last >= 0) x = (left + last + 1) / pixels + 1;
    } catch (error) { /* no picture to read: at the start */ }
  }
  screen.caret.hidden = false;
  screen.caret.style.left = `${Math.min(x, f.x + f.width - inset) * shown}px`;
  screen.caret.style.top = `${(f.y + f.height * 0.2) * shown}px`;
  screen.caret.style.height = `${f.height * 0.6 * shown}px`;
}

// Pictures: a screen's whole picture, then only the rectangles that changed, painted in the order
// they came (decoding is asynchronous, so each screen paints through a chain of promises).
const painting = {};
async function decode(base64) {
  const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
  return createImageBitmap(new Blob([bytes], { type: 'image/png' }));
}
function paint(message, whole) {
  const screen = screenFor(message.screen);
  const canvas = screen.canvas;
  const parts = whole ? [{ x: 0, y: 0, png: message.png }] : message.tiles;
  const images = Promise.all(parts.map((part) => decode(part.png)));
  painting[message.screen] = (painting[message.screen] || Promise.resolve()).then(async () => {
    let bitmaps;
    try { bitmaps = await images; } catch (error) { return; }
    if (whole) {
      if (canvas.width !== bitmaps[0].width || canvas.height !== bitmaps[0].height) {
        canvas.width = bitmaps[0].width;
        canvas.height = bitmaps[0].height;
        sizeCanvas(screen);
      }
    } else if (canvas.width !== message.width || canvas.height !== message.height) {
      return; // tiles of another size: the whole picture that follows replaces them
    }
    const context = canvas.getContext('2d');
    parts.forEach((part, i) => context.drawImage(bitmaps[i], part.x, part.y));
    for (const bitmap of bitmaps) bitmap.close();
    canvas.dataset.version = String(message.version);
    painted(message.screen);
    if (editing) showCaret();
    canvas.dispatchEvent(new Event('painted'));
  });
}

// The corner's figures: pictures painted in the last second, and the time from a touch sent to
// the next picture of its screen painted (the median of the last 30).
const touchSent = {};
const paints = [];
const latencies = [];
function painted(name) {
  const now = performance.now();
  paints.push(now);
  while (paints.length && paints[0] < now - 1000) paints.shift();
  if (name in touchSent) {
    latencies.push(now - touchSent[name]);
    delete touchSent[name];
    if (latencies.length > 30) latencies.shift();
  }
  const sorted = [...latencies].sort((a, b) => a - b);
  const median = sorted.length ? sorted[Math.floor(sorted.length / 2)] : null;
  const frames = $('#frames');
  frames.dataset.fps = String(paints.length);
  frames.dataset.latency = median === null ? '' : median.toFixed(1);
  frames.textContent = `${paints.length} fps · ${median === null ? '–' : median.toFixed(0)} ms`;
}

// The phone as a person sees it, as one PNG: each screen's visible part, side by side.
function phonePicture() {
  const list = Object.values(screens).filter((s) => s.canvas.width);
  const pixels = list.length ? list[0].canvas.width / device.width : device.scale;
  const width = Math.round(device.width * pixels), height = Math.round(device.height * pixels);
  const out = document.createElement('canvas');
  out.width = Math.max(1, list.length * width);
  out.height = height;
  const context = out.getContext('2d');
  list.forEach((s, i) => {
    const top = Math.round((s.frame.scrollTop / shown) * pixels);
    context.drawImage(s.canvas, 0, top, width, height, i * width, 0, width, height);
  });
  return new Promise((resolve) => out.toBlob(resolve, 'image/png'));
}
