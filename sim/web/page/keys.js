// The page's keyboard, its messages and its downloads: typing goes to the device's text field
// being edited; while none is, keys are shortcuts (listed in the help panel). Each device
// message stands beside the control that caused it until that control next succeeds.
'use strict';

// A message beside `where` (a note element), or none.
function say(where, text) {
  if (where) where.textContent = text || '';
}

// One action; a refusal is said in `where`. Answers the JSON the device gave.
async function act(body, where) {
  try {
    const response = await fetch('/api/action', {
      method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body),
    });
    const answer = await response.json();
    if (!response.ok) say(where, answer.error || `refused (${response.status})`);
    else if (body.action !== 'touch') say(where, '');
    return response.ok ? answer : { error: answer.error || String(response.status) };
  } catch (error) {
    say(where, 'the device does not answer');
    return { error: String(error) };
  }
}

// The note of the panel a control sits in.
const noteOf = (element) => element.closest('fieldset, figure')?.querySelector('.note');

function download(name, blob) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}
const stamp = () => new Date().toISOString().slice(0, 19).replace(/[-:]/g, '').replace('T', '-');
async function downloadScreenshot() { download(`hushmark-phone-${stamp()}.png`, await phonePicture()); }
function downloadTimeline() {
  download(`hushmark-timeline-${stamp()}.txt`, new Blob([timelineLines.join('\n') + '\n'], { type: 'text/plain' }));
}
function toggleHelp(show) {
  const help = $('#help');
  help.hidden = show === undefined ? !help.hidden : !show;
  $('#help-button').setAttribute('aria-expanded', String(!help.hidden));
}

const deviceNote = () => $('#device-controls .note');
const clockNote = () => $('#clock-controls .note');
const shortcuts = {
  Escape: () => act({ action: 'home' }, deviceNote()),
  h: () => act({ action: 'home' }, deviceNote()),
  l: () => act({ action: 'lock', locked: !lastState.locked }, deviceNote()),
  0: () => act({ action: 'rate', rate: 0 }, clockNote()),
  1: () => act({ action: 'rate', rate: 1 }, clockNote()),
  2: () => act({ action: 'rate', rate: 60 }, clockNote()),
  3: () => act({ action: 'rate', rate: 3600 }, clockNote()),
  n: () => act({ action: 'nextAlarm' }, clockNote()),
  r: () => act({ action: 'respring' }, deviceNote()),
  s: downloadScreenshot,
  t: downloadTimeline,
  d: () => $('#session-download').click(),
  '?': () => toggleHelp(),
};

document.addEventListener('keydown', (event) => {
  const target = event.target;
  if (target instanceof HTMLInputElement || target instanceof HTMLTextAreaElement || target instanceof HTMLSelectElement) return;
  if (event.ctrlKey || event.metaKey || event.altKey) return;
  const note = deviceNote();
  if (event.key === 'Enter') act({ action: 'key', key: 'return' }, note);
  else if (event.key === 'Backspace') act({ action: 'key', key: 'backspace' }, note);
  else if (lastState.editing && event.key.length === 1) act({ action: 'type', text: event.key }, note);
  else if (event.key === 'Escape' && !$('#help').hidden) toggleHelp(false);
  else if (shortcuts[event.key.length === 1 ? event.key.toLowerCase() : event.key]) shortcuts[event.key.length === 1 ? event.key.toLowerCase() : event.key]();
  else return;
  event.preventDefault();
});

$('#help-button').addEventListener('click', () => toggleHelp());
$('#screenshot').addEventListener('click', downloadScreenshot);
$('#timeline-download').addEventListener('click', downloadTimeline);
