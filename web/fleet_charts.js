// The fleet view's charts, drawn as SVG by the page itself (nothing is
// fetched): bar charts of counts, each bar named and given its count and
// share, and small histograms of a numeric line's values. Every chart is an
// image whose title says in words what it shows, under a visible caption.
'use strict';

const SVG_NS = 'http://www.w3.org/2000/svg';
const BAR_LABEL_WIDTH = 250;
const BAR_WIDTH = 220;
const BAR_ROW = 20;
// Room a character of a bar's count takes at the charts' 13 px, a little
// more than the widest figure, space, parenthesis or per cent sign.
const VALUE_CHARACTER_WIDTH = 9;

function svgElement(name, attributes, text) {
  const element = document.createElementNS(SVG_NS, name);
  for (const [key, value] of Object.entries(attributes)) {
    element.setAttribute(key, value);
  }
  if (text !== undefined) {
    element.textContent = text;
  }
  return element;
}

function sharePercent(count, all) {
  return (all > 0 ? (100 * count / all).toFixed(1) : '0.0') + ' %';
}

// A figure with its caption; the chart goes in next.
function chartFigure(caption, className) {
  const figure = document.createElement('figure');
  figure.className = className;
  const text = document.createElement('figcaption');
  text.textContent = caption;
  figure.append(text);
  return figure;
}

// bars: [{label, count, share}] with share false for a bar that is not one
// of the whole (NA); all: what the shares are of.
function barChart(caption, bars, all) {
  const figure = chartFigure(caption, 'bar-chart');
  const counts = bars.map((bar) =>
    bar.count + (bar.share === false ? '' : ` (${sharePercent(bar.count, all)})`));
  // The chart is as wide as its longest count needs, so no count is cut.
  const width = BAR_LABEL_WIDTH + BAR_WIDTH + 6 +
                VALUE_CHARACTER_WIDTH * Math.max(12, ...counts.map((count) => count.length));
  const height = bars.length * BAR_ROW + 4;
  const svg = svgElement('svg', {width, height, viewBox: `0 0 ${width} ${height}`, role: 'img'});
  const said = bars.map((bar) => bar.label + ': ' + bar.count +
                        (bar.share === false ? '' : ', ' + sharePercent(bar.count, all)));
  svg.append(svgElement('title', {}, caption + '. ' + said.join('; ')));
  const most = Math.max(1, ...bars.map((bar) => bar.count));
  bars.forEach((bar, i) => {
    const y = i * BAR_ROW + 2;
    const length = Math.max(1, Math.round(BAR_WIDTH * bar.count / most));
    const label = bar.label.length > 34 ? bar.label.slice(0, 33) + '…' : bar.label;
    svg.append(svgElement('text', {x: BAR_LABEL_WIDTH - 8, y: y + 14, 'text-anchor': 'end'}, label),
               svgElement('rect', {x: BAR_LABEL_WIDTH, y: y + 3, width: length, height: BAR_ROW - 6,
                                   class: bar.share === false ? 'na' : 'bar'}),
               svgElement('text', {x: BAR_LABEL_WIDTH + length + 6, y: y + 14}, counts[i]));
  });
  figure.append(svg);
  return figure;
}

// A numeric line of the summary document (its "numbers"): its figures in
// words and its histogram, the median marked.
function histogramChart(caption, line) {
  const figure = chartFigure(caption, 'histogram');
  const figures = document.createElement('p');
  figures.className = 'figures';
  figures.textContent = `${line.count} reports · NA ${line.na}` + (line.count === 0 ? '' :
    ` · min ${line.min} · p10 ${line.p10} · median ${line.median} · p90 ${line.p90} · max ${line.max}` +
    (line.exact ? '' : ' (approximate)'));
  figure.append(figures);
  if (line.histogram === null) {
    return figure;
  }
  const {first, width: span, counts} = line.histogram;
  const width = 280;
  const height = 92;
  const plot = 60;  // bar height of the largest bin
  const step = width / counts.length;
  const svg = svgElement('svg', {width, height, viewBox: `0 0 ${width} ${height}`, role: 'img'});
  svg.append(svgElement('title', {}, `${caption}: ${line.count} values from ${line.min} to ` +
                        `${line.max}, median ${line.median}, in ${counts.length} bins of ${span}`));
  const most = Math.max(1, ...counts);
  counts.forEach((count, i) => {
    const low = first + i * span;
    const barHeight = count === 0 ? 0 : Math.max(1, Math.round(plot * count / most));
    const bar = svgElement('rect', {x: i * step + 1, y: 4 + plot - barHeight,
                                    width: Math.max(1, step - 2), height: barHeight, class: 'bar'});
    bar.append(svgElement('title', {}, (span > 1 ? `${low}–${low + span - 1}` : `${low}`) +
                          ': ' + count));
    svg.append(bar);
  });
  const medianX = (line.median - first + 0.5) / (span * counts.length) * width;
  svg.append(svgElement('line', {x1: medianX, x2: medianX, y1: 0, y2: plot + 6, class: 'median'}),
             svgElement('line', {x1: 0, x2: width, y1: plot + 4.5, y2: plot + 4.5, class: 'axis'}),
             svgElement('text', {x: 0, y: height - 6}, String(line.min)),
             svgElement('text', {x: width, y: height - 6, 'text-anchor': 'end'}, String(line.max)),
             svgElement('text', {x: width / 2, y: height - 6, 'text-anchor': 'middle',
                                 class: 'median-label'}, 'median ' + line.median));
  figure.append(svg);
  return figure;
}
