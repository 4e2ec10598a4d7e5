// The page's fleet view: many logs picked, or dropped, or a folder, are
// decoded one after another into the module's fleet summary (the numbers
// vexa-decode --summary --by-source --json gives for the same files in the
// same order), which is drawn as charts (fleet_charts.js) above a table of
// every report; a row opened shows its report in the report view.
'use strict';

const fleetPage = {
  section: document.getElementById('fleet'),
  status: document.getElementById('fleet-status'),
  openFiles: document.getElementById('open-files'),
  files: document.getElementById('files'),
  openFolder: document.getElementById('open-folder'),
  folder: document.getElementById('folder'),
  download: document.getElementById('download-summary'),
  counts: document.getElementById('fleet-counts'),
  names: document.getElementById('fleet-names'),
  numbers: document.getElementById('fleet-numbers'),
  worst: document.getElementById('fleet-worst'),
  sources: document.getElementById('sources'),
  reports: document.getElementById('reports'),
};

const READ_AHEAD = 32;

const fleet = {
  inputs: [],        // {file, name}, in the order decoded
  rows: [],          // a report each: {input, cells}
  summaryText: '',   // the module's summary document
  loading: 0,        // which load is under way: a newer one ends an older
};

function columnCaption(line) {
  return line.label + (line.column === null ? '' : ', ' + line.column);
}

// Inputs in the order of their names, as a shell's file list has them.
function byName(a, b) {
  return a.name < b.name ? -1 : a.name > b.name ? 1 : 0;
}

async function loadFleet(inputs) {
  const decoder = state.decoder;
  if (decoder === null || inputs.length === 0) {
    return;
  }
  const load = ++fleet.loading;
  inputs.sort(byName);
  fleet.inputs = inputs;
  fleet.rows = [];
  fleetPage.section.hidden = false;
  decoder._vexaFleetBegin();
  // Files are read a few dozen ahead: one at a time, waiting for each read
  // costs more than decoding. A file that cannot be read is left out and
  // named, as vexa-decode does.
  const unreadable = [];
  const damaged = [];
  const read = (input) => readCapture(input.file).then((capture) => {
    if (capture.damaged) {
      damaged.push(input.name);
    }
    return capture.bytes;
  }, (error) => { unreadable.push(`${input.name} (${error.message})`); return null; });
  const reads = inputs.slice(0, READ_AHEAD).map(read);
  for (let i = 0; i < inputs.length; ++i) {
    const bytes = await reads[i];
    reads[i] = null;
    if (i + READ_AHEAD < inputs.length) {
      reads.push(read(inputs[i + READ_AHEAD]));
    }
    if (load !== fleet.loading) {
      return;
    }
    if (bytes === null) {
      continue;
    }
    let rows = '';
    try {
      const capture = toModule(bytes);
      const name = toModule(textToBytes(inputs[i].name));
      rows = decoder.UTF8ToString(decoder._vexaFleetAdd(capture, bytes.length, name));
      decoder._free(name);
      decoder._free(capture);
    } catch (outOfMemory) {
      // rows stays empty: the message below says so.
    }
    if (rows === '') {
      fleetPage.status.textContent = 'The fleet is too large for the page: the decoder ran out of ' +
                                     'memory at ' + inputs[i].name + '.';
      return;
    }
    for (const cells of JSON.parse(rows)) {
      fleet.rows.push({input: i, cells});
    }
    if (i % 200 === 0) {
      fleetPage.status.textContent = `Reading ${i + 1} of ${inputs.length} logs…`;
    }
  }
  fleet.summaryText = decoder.UTF8ToString(decoder._vexaFleetSummary());
  showFleet(JSON.parse(fleet.summaryText), JSON.parse(decoder.UTF8ToString(decoder._vexaFleetColumns())));
  if (unreadable.length > 0) {
    fleetPage.status.textContent += '; cannot read ' + unreadable.join(', ');
  }
  if (damaged.length > 0) {
    fleetPage.status.textContent += `; ${damaged.join(', ')}: ${GZIP_DAMAGED}`;
  }
}

function showFleet(summary, valueColumns) {
  const counted = (count, noun) => `${count} ${noun}${count === 1 ? '' : 's'}`;
  fleetPage.status.textContent =
    `${counted(summary.reports, 'report')} from ${counted(summary.inputs, 'log')}` +
    (summary.inputsWithoutReport > 0 ? ` (${summary.inputsWithoutReport} without a report)` : '');
  fleetPage.counts.replaceChildren(barChart('Reports', [
    {label: 'Complete', count: summary.complete},
    {label: 'Cut off before their OK', count: summary.cutOff},
    {label: 'With messages', count: summary.withMessages},
  ], summary.reports));
  fleetPage.names.replaceChildren(...summary.names.filter((line) => line.count + line.na > 0)
    .map((line) => barChart(columnCaption(line), line.values.map((value) =>
      ({label: value.name, count: value.count})).concat(
        line.na > 0 ? [{label: 'NA', count: line.na, share: false}] : []), line.count)));
  fleetPage.numbers.replaceChildren(...summary.numbers.filter((line) => line.count + line.na > 0)
    .map((line) => histogramChart(columnCaption(line), line)));
  fleetPage.worst.replaceChildren(...summary.worst.filter((list) => list.calls.length > 0)
    .map(worstList));
  fillTable(fleetPage.sources, [
    {title: 'Input'}, {title: 'Calls', numeric: true}, {title: 'Complete', numeric: true},
    {title: 'Most frequent termination cause'}, {title: 'Share'},
    {title: 'Median RX rate', numeric: true}, {title: 'Worst noise, -dBm', numeric: true},
  ], summary.sources.map((source) => ({cells: [
    source.source, source.calls, source.complete, source.terminationCause,
    source.terminationShare === null ? null : sharePercent(source.terminationShare, 1),
    source.medianRxRate, source.worstNoise]})), null);
  fillTable(fleetPage.reports, [
    {title: 'Input'}, {title: 'Report', numeric: true}, {title: 'Line', numeric: true},
    {title: 'Complete'}, {title: 'Messages', numeric: true},
  ].concat(valueColumns.map((column) => ({title: column.title, numeric: column.numeric,
                                          description: columnCaption(column)}))),
  fleet.rows.map((row) => ({input: row.input, report: row.cells[0], cells: [
    fleet.inputs[row.input].name, row.cells[0], row.cells[1], row.cells[2] ? 'yes' : 'cut off',
  ].concat(row.cells.slice(3))})), showFleetReport);
}

// A list of worst calls, each a button that shows its report.
function worstList(list) {
  const figure = chartFigure(`${list.title} (${columnCaption(list)})`, 'worst');
  const calls = document.createElement('ol');
  for (const call of list.calls) {
    const item = document.createElement('li');
    const open = document.createElement('button');
    open.type = 'button';
    open.textContent = call.source + ':' + call.line;
    open.addEventListener('click', () => {
      const input = fleet.inputs.findIndex((each) => each.name === call.source);
      if (input >= 0) {
        showFleetReport({input, report: call.report});
      }
    });
    item.append(open, ' ' + call.value);
    calls.append(item);
  }
  figure.append(calls);
  return figure;
}

function showFleetReport(row) {
  loadFile(fleet.inputs[row.input].file, row.report - 1).then(() => {
    page.report.focus();
  });
}

// Orders cells: numbers by value, texts by their characters, and empty or
// NA cells last whichever way.
function compareCells(a, b, numeric) {
  const missingA = a === null || a === 'NA';
  const missingB = b === null || b === 'NA';
  if (missingA || missingB) {
    return missingA === missingB ? 0 : missingA ? 1 : -1;
  }
  if (numeric) {
    return Number(a) - Number(b);
  }
  return a < b ? -1 : a > b ? 1 : 0;
}

// A table whose headings sort it (again: the other way) and whose rows,
// with open given, open with a click, Enter or Space; the arrow keys, Home
// and End go from row to row. Each row is a grid of columns as wide as
// their longest text (at most 40 characters), laid out only when scrolled
// into view (fleet.css), so a table of many thousand rows costs no more
// than a few screens of them; the roles keep it a table for a screen reader.
function fillTable(table, columns, rows, open) {
  const widths = columns.map((column) => Math.min(12, column.title.length));
  for (const row of rows) {
    row.cells.forEach((cell, index) => {
      widths[index] = Math.max(widths[index], Math.min(40, cell === null ? 0 : String(cell).length));
    });
  }
  table.style.setProperty('--columns', widths.map((width) => width + 2 + 'ch').join(' '));
  table.setAttribute('role', 'table');
  table.tHead.setAttribute('role', 'rowgroup');
  table.tBodies[0].setAttribute('role', 'rowgroup');
  const heading = document.createElement('tr');
  heading.setAttribute('role', 'row');
  const sorted = {column: -1, descending: false};
  const body = table.tBodies[0];
  // One listener of each kind for the whole table, not three for each row;
  // they find the rows of the latest fill here.
  const current = {rowOf: new Map(), tabStop: null, open};
  body.shownRows = current;
  const fill = () => {
    const fragment = document.createDocumentFragment();
    current.rowOf = new Map();
    let tabStop = null;
    for (const row of rows) {
      const line = document.createElement('tr');
      line.setAttribute('role', 'row');
      row.cells.forEach((cell, index) => {
        const shown = line.insertCell();
        shown.setAttribute('role', 'cell');
        shown.textContent = cell === null ? '' : String(cell);
        if (columns[index].numeric) {
          shown.className = 'number';
        }
      });
      if (open !== null) {
        // One row at a time is a Tab stop (the last focused, at first the
        // first): Tab passes a table of thousands in one step.
        line.tabIndex = tabStop === null ? 0 : -1;
        tabStop = tabStop || line;
        current.rowOf.set(line, row);
      }
      fragment.append(line);
    }
    current.tabStop = tabStop;
    body.replaceChildren(fragment);
  };
  if (open !== null && !body.dataset.listening) {
    body.dataset.listening = 'yes';
    const rowOf = (line) => body.shownRows.rowOf.get(line);
    const lineOf = (event) => {
      const line = event.target.closest('tr');
      return line !== null && body.contains(line) ? line : null;
    };
    body.addEventListener('focusin', (event) => {
      const line = lineOf(event);
      const state = body.shownRows;
      if (line !== null && line !== state.tabStop) {
        if (state.tabStop !== null) {
          state.tabStop.tabIndex = -1;
        }
        line.tabIndex = 0;
        state.tabStop = line;
      }
    });
    body.addEventListener('click', (event) => {
      const line = lineOf(event);
      if (line !== null && rowOf(line)) {
        body.shownRows.open(rowOf(line));
      }
    });
    body.addEventListener('keydown', (event) => {
      const line = lineOf(event);
      if (line === null || !rowOf(line)) {
        return;
      }
      const next = {ArrowDown: line.nextElementSibling, ArrowUp: line.previousElementSibling,
                    Home: body.firstElementChild, End: body.lastElementChild};
      if (event.key === 'Enter' || event.key === ' ') {
        event.preventDefault();
        body.shownRows.open(rowOf(line));
      } else if (next[event.key]) {
        event.preventDefault();
        next[event.key].focus();
      }
    });
  }
  columns.forEach((column, index) => {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.setAttribute('role', 'columnheader');
    const sort = document.createElement('button');
    sort.type = 'button';
    sort.textContent = column.title;
    if (column.description) {
      sort.title = column.description;
    }
    sort.addEventListener('click', () => {
      sorted.descending = sorted.column === index ? !sorted.descending : false;
      sorted.column = index;
      const order = sorted.descending ? -1 : 1;
      rows.sort((a, b) => {
        const missing = compareCells(a.cells[index], b.cells[index], column.numeric);
        const either = [a.cells[index], b.cells[index]].some((c) => c === null || c === 'NA');
        return either ? missing : order * missing;
      });
      for (const other of heading.cells) {
        other.removeAttribute('aria-sort');
      }
      cell.setAttribute('aria-sort', sorted.descending ? 'descending' : 'ascending');
      fill();
    });
    cell.append(sort);
    heading.append(cell);
  });
  table.tHead.replaceChildren(heading);
  fill();
}

// Reads a dropped folder's files, with their paths below the drop.
function readEntry(entry) {
  if (entry.isFile) {
    return new Promise((resolve, reject) => entry.file(
      (file) => resolve([{file, name: entry.fullPath.replace(/^\//, '')}]), reject));
  }
  const reader = entry.createReader();
  const entries = [];
  return new Promise((resolve, reject) => {
    const more = () => reader.readEntries((batch) => {
      if (batch.length === 0) {
        Promise.all(entries.map(readEntry)).then((lists) => resolve(lists.flat()), reject);
      } else {
        entries.push(...batch);
        more();
      }
    }, reject);
    more();
  });
}

// Takes a drop of several files or of a folder as a fleet; false for one
// file, which page.js shows on its own.
function dropFleet(transfer) {
  const entries = Array.from(transfer.items || [])
    .map((item) => (item.webkitGetAsEntry ? item.webkitGetAsEntry() : null))
    .filter((entry) => entry !== null);
  if (entries.some((entry) => entry.isDirectory)) {
    Promise.all(entries.map(readEntry)).then((lists) => loadFleet(lists.flat()),
      (error) => { fleetPage.status.textContent = 'Cannot read the folder: ' + error.message; });
    return true;
  }
  if (transfer.files.length < 2) {
    return false;
  }
  loadFleet(Array.from(transfer.files, (file) => ({file, name: file.name})));
  return true;
}

function downloadSummary() {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([fleet.summaryText], {type: 'application/json'}));
  link.download = 'fleet-summary.json';
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 0);
}

fleetPage.openFiles.addEventListener('click', () => fleetPage.files.click());
fleetPage.openFolder.addEventListener('click', () => fleetPage.folder.click());
fleetPage.files.addEventListener('change', () => {
  loadFleet(Array.from(fleetPage.files.files, (file) => ({file, name: file.name})));
  fleetPage.files.value = '';
});
// A folder's hidden files are no logs; the others keep their path below it.
fleetPage.folder.addEventListener('change', () => {
  loadFleet(Array.from(fleetPage.folder.files, (file) =>
    ({file, name: file.webkitRelativePath || file.name}))
    .filter((input) => !/(^|\/)\./.test(input.name)));
  fleetPage.folder.value = '';
});
fleetPage.download.addEventListener('click', downloadSummary);
