// The browser page's own script: hands the capture (pasted or typed text,
// or a file's exact bytes) and the prefix to the decoder module on every
// change, shows the report, steps through the reports of a log, and copies
// or downloads what vexa-decode would give for the same input. Several
// files or a folder dropped go to the fleet view (fleet_view.js).
'use strict';

const page = {
  input: document.getElementById('input'),
  open: document.getElementById('open'),
  file: document.getElementById('file'),
  prefixOn: document.getElementById('prefix-on'),
  prefix: document.getElementById('prefix'),
  navigation: document.getElementById('navigation'),
  previous: document.getElementById('previous'),
  next: document.getElementById('next'),
  heading: document.getElementById('report-heading'),
  count: document.getElementById('report-count'),
  report: document.getElementById('report'),
  copy: document.getElementById('copy'),
  download: document.getElementById('download'),
  status: document.getElementById('status'),
};

const state = {
  decoder: null,
  // A file's bytes are decoded as they are until the text is edited; the
  // text area would have turned its CR LF into LF.
  fileBytes: null,
  source: 'clipboard',  // the input's name in the JSON document
  reportCount: 0,
  shown: 0,
  reportText: '',  // the shown report as vexa-decode prints it, CR LF
  pendingCopy: null,
  given: false,  // a capture was pasted, typed or opened: until then the page invites one
};

// Text to the decoder's 8-bit bytes: a character up to U+00FF is the byte of
// the same number (as the JSON document reads bytes back), any other its
// UTF-8 bytes, so nothing typed is lost.
function textToBytes(text) {
  const bytes = new Uint8Array(text.length * 3);
  let length = 0;
  for (const character of text) {
    const code = character.codePointAt(0);
    if (code < 0x100) {
      bytes[length++] = code;
    } else {
      const encoded = new TextEncoder().encode(character);
      bytes.set(encoded, length);
      length += encoded.length;
    }
  }
  return bytes.subarray(0, length);
}

// The decoder's 8-bit text back: each byte the character of its number.
function bytesToText(bytes) {
  let text = '';
  for (let start = 0; start < bytes.length; start += 0x8000) {
    text += String.fromCharCode.apply(null, bytes.subarray(start, start + 0x8000));
  }
  return text;
}

// Copies bytes into the module's memory, zero-terminated; the caller frees.
function toModule(bytes) {
  const address = state.decoder._malloc(bytes.length + 1);
  if (address === 0) {
    throw new Error('out of memory');
  }
  state.decoder.HEAPU8.set(bytes, address);
  state.decoder.HEAPU8[address + bytes.length] = 0;
  return address;
}

function showStatus(text) {
  page.status.textContent = text;
}

function showFailure(text) {
  state.reportCount = 0;
  state.reportText = '';
  page.report.textContent = text;
  page.navigation.hidden = true;
  page.copy.disabled = true;
  page.download.disabled = true;
}

function decode() {
  if (state.decoder === null) {
    return;
  }
  if (!state.given) {
    showFailure('Paste a capture, or open or drop a log file: its report appears here.');
    return;
  }
  const decoder = state.decoder;
  try {
    const bytes = state.fileBytes || textToBytes(page.input.value);
    const capture = toModule(bytes);
    const prefix = toModule(textToBytes(page.prefix.value));
    const prefixOn = page.prefixOn.checked ? 1 : 0;
    state.reportCount = decoder._vexaDecode(capture, bytes.length, prefix, prefixOn);
    decoder._free(prefix);
    decoder._free(capture);
  } catch (error) {
    state.decoder = null;
    showFailure('The decoder stopped (' + error + '). Reload the page to start again.');
    return;
  }
  if (state.reportCount === 0) {
    showFailure('This capture is too large for the page: the decoder ran out of memory.');
    return;
  }
  state.shown = Math.min(state.shown, state.reportCount - 1);
  showReport();
}

function showReport() {
  const decoder = state.decoder;
  const address = decoder._vexaReportText(state.shown);
  const length = decoder._vexaReportTextLength(state.shown);
  state.reportText = bytesToText(decoder.HEAPU8.subarray(address, address + length));
  page.report.textContent = state.reportText.replace(/\r\n/g, '\n');
  // The heading says where the report stands in the log, as --all does.
  const heading = decoder.UTF8ToString(decoder._vexaReportTitle(state.shown));
  const several = state.reportCount > 1;
  page.navigation.hidden = heading === '';
  page.heading.textContent = heading;
  page.count.textContent = several ? '· ' + state.reportCount + ' reports' : '';
  page.previous.hidden = !several;
  page.next.hidden = !several;
  page.previous.disabled = state.shown === 0;
  page.next.disabled = state.shown === state.reportCount - 1;
  page.copy.disabled = false;
  page.download.disabled = false;
}

function step(by) {
  const target = state.shown + by;
  if (state.decoder !== null && target >= 0 && target < state.reportCount) {
    state.shown = target;
    showReport();
  }
}

const GZIP_DAMAGED = 'the gzip data is damaged or cut short; the reports before it are kept';

// A file's bytes, a gzip file (1F 8B) inflated by the browser's own gzip
// stream, which checks each member's CRC and length. Damaged gzip data keeps
// what came before the damage, and damaged says so. This browser's stream
// reads one member: the bytes after it count as damage.
async function readCapture(file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  if (bytes.length < 2 || bytes[0] !== 0x1f || bytes[1] !== 0x8b) {
    return {bytes, damaged: false};
  }
  const stream = new DecompressionStream('gzip');
  const writer = stream.writable.getWriter();
  // Fed in pieces, the last 8 bytes (a trailer's check sum and length) alone:
  // the browser drops what it inflated from the piece where the damage is.
  const end = Math.max(0, bytes.length - 8);
  (async () => {
    for (let at = 0; at < end; at += 0x10000) {
      await writer.write(bytes.subarray(at, Math.min(at + 0x10000, end)));
    }
    await writer.write(bytes.subarray(end));
    await writer.close();
  })().catch(() => {});  // the reads below see the damage
  const reader = stream.readable.getReader();
  const parts = [];
  let length = 0;
  let damaged = false;
  try {
    for (let part = await reader.read(); !part.done; part = await reader.read()) {
      parts.push(part.value);
      length += part.value.length;
    }
  } catch (error) {
    damaged = true;
  }
  const inflated = new Uint8Array(length);
  let at = 0;
  for (const part of parts) {
    inflated.set(part, at);
    at += part.length;
  }
  return {bytes: inflated, damaged};
}

// Shows the report numbered shown (from 0) of the file.
function loadFile(file, shown = 0) {
  return readCapture(file).then((capture) => {
    state.fileBytes = capture.bytes;
    state.given = true;
    state.source = file.name;
    state.shown = shown;
    page.input.value = bytesToText(state.fileBytes);
    showStatus('Log file ' + file.name + (capture.damaged ? ': ' + GZIP_DAMAGED : ''));
    decode();
  }, (error) => showStatus('Cannot read ' + file.name + ': ' + error.message));
}

function selectReport() {
  const range = document.createRange();
  range.selectNodeContents(page.report);
  window.getSelection().removeAllRanges();
  window.getSelection().addRange(range);
  return range;
}

// What is selected in the report, with CR LF line ends; null when the
// selection lies elsewhere. The selection's own text would lose the last
// line end.
function selectedReportText() {
  const selection = window.getSelection();
  if (selection.rangeCount === 0 || selection.isCollapsed ||
      !page.report.contains(selection.anchorNode) || !page.report.contains(selection.focusNode)) {
    return null;
  }
  const selected = selection.getRangeAt(0);
  const whole = document.createRange();
  whole.selectNodeContents(page.report);
  if (selected.compareBoundaryPoints(Range.START_TO_START, whole) <= 0 &&
      selected.compareBoundaryPoints(Range.END_TO_END, whole) >= 0) {
    return state.reportText;
  }
  return selection.toString().replace(/\r?\n/g, '\r\n');
}

// The window's copy: the three header lines without prefix, then the report
// text; for a selection in the report, the header and the selected text.
function copyText(event) {
  const text = state.pendingCopy !== null ? state.pendingCopy : selectedReportText();
  if (text === null) {
    return;
  }
  const decoder = state.decoder;
  const header = decoder !== null ? decoder.UTF8ToString(decoder._vexaCopyHeader()) : '';
  event.clipboardData.setData('text/plain', header + text);
  event.preventDefault();
}

function copyReport() {
  state.pendingCopy = state.reportText;
  const copied = document.execCommand('copy');
  state.pendingCopy = null;
  showStatus(copied ? 'Report copied, with its header.' : 'The browser did not allow the copy.');
}

function downloadJson() {
  const decoder = state.decoder;
  if (decoder === null || state.reportCount === 0) {
    return;
  }
  const source = toModule(textToBytes(state.source));
  const json = decoder.UTF8ToString(decoder._vexaReportDocument(state.shown, source));
  decoder._free(source);
  if (json === '') {
    showStatus('The JSON document is too large for the page: the decoder ran out of memory.');
    return;
  }
  const stem = state.fileBytes ? state.source.replace(/\.[^.]*$/, '') : 'capture';
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([json], {type: 'application/json'}));
  link.download = stem + (state.reportCount > 1 ? '-report' + (state.shown + 1) : '') + '.json';
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 0);
  showStatus('Saved ' + link.download);
}

function hasFiles(event) {
  return event.dataTransfer !== null && Array.from(event.dataTransfer.types).includes('Files');
}

page.input.addEventListener('input', (event) => {
  state.fileBytes = null;
  state.given = true;
  state.source = 'clipboard';
  if (event.inputType === 'insertFromPaste' || event.inputType === 'insertFromDrop') {
    state.shown = 0;  // a new capture begins at its first report
  }
  decode();
});
page.prefix.addEventListener('input', () => {
  page.prefixOn.checked = page.prefix.value !== '';
  decode();
});
page.prefixOn.addEventListener('change', decode);
page.open.addEventListener('click', () => page.file.click());
page.file.addEventListener('change', () => {
  if (page.file.files.length > 0) {
    loadFile(page.file.files[0]);
  }
  page.file.value = '';
});
page.previous.addEventListener('click', () => step(-1));
page.next.addEventListener('click', () => step(1));
page.copy.addEventListener('click', copyReport);
// Ctrl+A in the report selects the report, as in the window, not the page.
page.report.addEventListener('keydown', (event) => {
  if ((event.ctrlKey || event.metaKey) && event.key === 'a') {
    event.preventDefault();
    selectReport();
  }
});
page.download.addEventListener('click', downloadJson);
document.addEventListener('copy', copyText);
document.addEventListener('dragover', (event) => {
  if (hasFiles(event)) {
    event.preventDefault();
    event.dataTransfer.dropEffect = 'copy';
    document.body.classList.add('dropping');
  }
});
document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
document.addEventListener('drop', (event) => {
  document.body.classList.remove('dropping');
  if (hasFiles(event) && event.dataTransfer.files.length > 0) {
    event.preventDefault();
    if (!dropFleet(event.dataTransfer)) {  // several files or a folder: fleet_view.js
      loadFile(event.dataTransfer.files[0]);
    }
  }
});

// The module's binary stands in the page; handing it over keeps the runtime
// from fetching it.
const moduleText = atob(document.getElementById('decoder-module').textContent);
const moduleBinary = new Uint8Array(moduleText.length);
for (let i = 0; i < moduleText.length; ++i) {
  moduleBinary[i] = moduleText.charCodeAt(i);
}
page.copy.disabled = true;
page.download.disabled = true;
createDecoderModule({wasmBinary: moduleBinary}).then((decoder) => {
  state.decoder = decoder;
  state.given = page.input.value !== '';  // a reload may keep the text
  performance.mark('decoder ready');
  document.documentElement.dataset.decoder = 'ready';
  decode();
}, (error) => {
  showFailure('This browser cannot run the decoder: ' + error);
});
