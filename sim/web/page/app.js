// The page of `hushmark-sim serve`: the device's controls beside the phone (screens.js), the
// state and timeline it publishes, and the session it records.
'use strict';

let lastState = {};

for (const button of document.querySelectorAll('[data-rate]'))
  button.addEventListener('click', () => act({ action: 'rate', rate: Number(button.dataset.rate) }, noteOf(button)));
$('#next-alarm').addEventListener('click', (event) => act({ action: 'nextAlarm' }, noteOf(event.target)));
$('#set-time').addEventListener('submit', (event) => {
  event.preventDefault();
  act({ action: 'setTime', time: $('#time-input').value.trim() }, noteOf(event.target));
});
$('#add-alarm').addEventListener('submit', (event) => {
  event.preventDefault();
  let time = $('#alarm-time').value;
  if (/^\d\d:\d\d$/.test(time)) time += ':00';
  act({ action: 'addAlarm', time, label: $('#alarm-label').value, snooze: $('#alarm-snooze').checked, daily: $('#alarm-daily').checked }, noteOf(event.target));
});
$('#lock').addEventListener('click', (event) => act({ action: 'lock', locked: true }, noteOf(event.target)));
$('#unlock').addEventListener('click', (event) => act({ action: 'lock', locked: false }, noteOf(event.target)));
$('#respring').addEventListener('click', (event) => act({ action: 'respring' }, noteOf(event.target)));
// The home button: a click goes home; a double click (home pressed twice) shows the switcher.
$('#home').addEventListener('click', () => act({ action: 'home' }, deviceNote()));
$('#home').addEventListener('dblclick', () => act({ action: 'switcher' }, deviceNote()));

function showState(state) {
  lastState = state;
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
    remove.addEventListener('click', () => act({ action: 'removeAlarm', id: alarm.id }, noteOf(list)));
    item.append(text, remove);
    return item;
  }));
  editing = state.editing || null;
  showCaret();
  const session = state.session || { steps: 0, unwritten: 0 };
  $('#session-steps').textContent = `${session.steps} steps recorded${session.unwritten ? `, ${session.unwritten} not kept` : ''}${session.full ? ' (full)' : ''}`;
  const playing = $('#playing');
  playing.hidden = !state.playing;
  if (state.playing) playing.textContent = `Playing ${state.playing.name}: step ${state.playing.step} of ${state.playing.steps}${state.playing.done ? ' (done)' : ''}${state.playing.error ? ` (stopped: ${state.playing.error})` : ''}`;
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
    box.addEventListener('change', () => act({ action: 'addon', name: addon.name, install: box.checked }, noteOf(box)));
    const note = addon.atRespring ? ` (${addon.atRespring === 'install' ? 'installed' : 'removed'} at the next respring)` : '';
    label.append(box, ` ${addon.name}${note}`);
    item.append(label);
    return item;
  }));
}

// The fresh-device form, filled with the device's own locale, time zone and screen.
function setUpReset() {
  $('#reset-locale').value = device.locale || 'en_US';
  $('#reset-timezone').value = device.timeZone || 'UTC';
  $('#reset-screen').value = `${device.width}x${device.height}`;
  $('#reset').addEventListener('submit', (event) => {
    event.preventDefault();
    act({ action: 'reset', locale: $('#reset-locale').value.trim(), timeZone: $('#reset-timezone').value.trim(), screen: $('#reset-screen').value }, noteOf(event.target));
  });
}

// The timeline: every line since the device started (the download has them all), the panel
// the last 2000.
const timelineLines = [];
function addLines(lines) {
  timelineLines.push(...lines);
  if (timelineLines.length > 100000) timelineLines.splice(0, timelineLines.length - 100000);
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
  setUpReset();
  layOut();
  const events = new EventSource('/api/events');
  events.addEventListener('open', async () => {
    $('#connection').textContent = 'live';
    $('#connection').classList.remove('offline');
    $('#timeline').textContent = '';
    timelineLines.length = 0;
    // A reset may have made the screen another size.
    try {
      device = await (await fetch('/api/device')).json();
      layOut();
    } catch (error) { /* as it was */ }
  });
  events.addEventListener('error', () => {
    $('#connection').textContent = 'reconnecting…';
    $('#connection').classList.add('offline');
  });
  events.addEventListener('screen', (event) => paint(JSON.parse(event.data), true));
  events.addEventListener('tiles', (event) => paint(JSON.parse(event.data), false));
  events.addEventListener('timeline', (event) => addLines(JSON.parse(event.data).lines));
  events.addEventListener('state', (event) => {
    const state = JSON.parse(event.data);
    showState(state);
    showAddons(state.addons);
  });
}
start();
