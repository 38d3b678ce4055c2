#include "kline_page.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace demoportal {

namespace {

constexpr int kCandles = 100;

struct Period {
    const char* name;
    qint64 seconds;
};

const Period kPeriods[] = {
    {"5分钟K线", 300},   {"15分钟K线", 900}, {"30分钟K线", 1800},
    {"60分钟K线", 3600}, {"日K线", 86400},   {"周K线", 7 * 86400},
};

const char* const kTechNames[] = {"MACD", "DMI", "RSI", "KDJ", "W%R", "BIAS", "CCI", "ROC"};

// Shadows beyond the body, the same for the same candle every time.
double wick(qint64 time, double price) {
    QRandomGenerator random(static_cast<quint32>(time ^ (time >> 32)));
    return price * 0.0012 * random.generateDouble();
}

QList<Candle> candlesFrom(const PricePoints& points, qint64 periodSeconds, qint64 firstStart, int count) {
    QList<Candle> candles;
    qsizetype next = 0;
    double previousClose = points.isEmpty() ? 0 : MarketHistory::toUsdPerOunce(points.first().y());
    for (int i = 0; i < count; ++i) {
        const qint64 start = firstStart + i * periodSeconds;
        const qint64 end = start + periodSeconds;
        Candle candle{start, previousClose, previousClose, previousClose, previousClose};
        while (next < points.size() && points[next].x() < static_cast<double>(end)) {
            const double price = MarketHistory::toUsdPerOunce(points[next].y());
            if (points[next].x() >= static_cast<double>(start)) {
                candle.high = std::max(candle.high, price);
                candle.low = std::min(candle.low, price);
                candle.close = price;
            }
            ++next;
        }
        candle.high += wick(start, candle.close);
        candle.low -= wick(start + 1, candle.close);
        previousClose = candle.close;
        candles.append(candle);
    }
    return candles;
}

// Draws the candles and the indicator into a canvas that fills the page.
const char* const kScript = R"JS(
var canvas = document.getElementById('k'), g = canvas.getContext('2d');
function sma(a, n) { var r = [], s = 0; for (var i = 0; i < a.length; i++) { s += a[i]; if (i >= n) s -= a[i - n]; r.push(i >= n - 1 ? s / n : null); } return r; }
function ema(a, n) { var r = [], k = 2 / (n + 1), p = a[0]; for (var i = 0; i < a.length; i++) { p = i ? a[i] * k + p * (1 - k) : a[i]; r.push(p); } return r; }
function wsma(a, n, m) { var r = [], y = a[0]; for (var i = 0; i < a.length; i++) { y = i ? (m * a[i] + (n - m) * y) / n : a[i]; r.push(y); } return r; }
function hhv(a, n, i) { var m = -Infinity; for (var j = Math.max(0, i - n + 1); j <= i; j++) m = Math.max(m, a[j]); return m; }
function llv(a, n, i) { var m = Infinity; for (var j = Math.max(0, i - n + 1); j <= i; j++) m = Math.min(m, a[j]); return m; }
function sum(a, n, i) { var s = 0; for (var j = i - n + 1; j <= i; j++) s += a[j]; return s; }
var T = [], O = [], H = [], L = [], C = [];
DATA.forEach(function (d) { T.push(d[0]); O.push(d[1]); H.push(d[2]); L.push(d[3]); C.push(d[4]); });
var N = C.length;
function indicator() {
  var r = {lines: [], bars: null, levels: []}, i;
  if (TECH == 6) {
    var e12 = ema(C, 12), e26 = ema(C, 26), dif = C.map(function (c, i) { return e12[i] - e26[i]; });
    var dea = ema(dif, 9);
    r.bars = dif.map(function (d, i) { return 2 * (d - dea[i]); });
    r.lines = [['DIF', dif, '#ffffff'], ['DEA', dea, '#ffff00']]; r.levels = [0];
  } else if (TECH == 7) {
    var tr = [], dp = [], dm = [];
    for (i = 0; i < N; i++) {
      var pc = i ? C[i - 1] : C[i], hd = i ? H[i] - H[i - 1] : 0, ld = i ? L[i - 1] - L[i] : 0;
      tr.push(Math.max(H[i] - L[i], Math.abs(H[i] - pc), Math.abs(L[i] - pc)));
      dp.push(hd > 0 && hd > ld ? hd : 0); dm.push(ld > 0 && ld > hd ? ld : 0);
    }
    var pdi = [], mdi = [], dx = [];
    for (i = 0; i < N; i++) {
      if (i < 13) { pdi.push(null); mdi.push(null); dx.push(0); continue; }
      var t = sum(tr, 14, i) || 1, p = sum(dp, 14, i) / t * 100, m = sum(dm, 14, i) / t * 100;
      pdi.push(p); mdi.push(m); dx.push(p + m ? Math.abs(p - m) / (p + m) * 100 : 0);
    }
    var adx = sma(dx, 6).map(function (v, i) { return i < 18 ? null : v; });
    r.lines = [['PDI', pdi, '#ffffff'], ['MDI', mdi, '#ffff00'], ['ADX', adx, '#ff00ff']];
  } else if (TECH == 8) {
    var up = [0], all = [0];
    for (i = 1; i < N; i++) { up.push(Math.max(C[i] - C[i - 1], 0)); all.push(Math.abs(C[i] - C[i - 1])); }
    [[6, '#ffffff'], [12, '#ffff00'], [24, '#ff00ff']].forEach(function (p) {
      var u = wsma(up, p[0], 1), a = wsma(all, p[0], 1);
      r.lines.push(['RSI' + p[0], u.map(function (v, i) { return i < p[0] || !a[i] ? null : v / a[i] * 100; }), p[1]]);
    });
    r.levels = [20, 50, 80];
  } else if (TECH == 9) {
    var rsv = C.map(function (c, i) { var h = hhv(H, 9, i), l = llv(L, 9, i); return h > l ? (c - l) / (h - l) * 100 : 50; });
    var k = wsma(rsv, 3, 1), d = wsma(k, 3, 1), j = k.map(function (v, i) { return 3 * v - 2 * d[i]; });
    r.lines = [['K', k, '#ffffff'], ['D', d, '#ffff00'], ['J', j, '#ff00ff']]; r.levels = [20, 80];
  } else if (TECH == 10) {
    r.lines = [['WR14', C.map(function (c, i) { var h = hhv(H, 14, i), l = llv(L, 14, i); return i < 13 || h == l ? null : (h - c) / (h - l) * 100; }), '#ffffff']];
    r.levels = [20, 80];
  } else if (TECH == 11) {
    [[6, '#ffffff'], [12, '#ffff00'], [24, '#ff00ff']].forEach(function (p) {
      var ma = sma(C, p[0]);
      r.lines.push(['BIAS' + p[0], C.map(function (c, i) { return ma[i] === null ? null : (c - ma[i]) / ma[i] * 100; }), p[1]]);
    });
    r.levels = [0];
  } else if (TECH == 12) {
    var tp = C.map(function (c, i) { return (H[i] + L[i] + c) / 3; }), mt = sma(tp, 14);
    r.lines = [['CCI', tp.map(function (v, i) {
      if (mt[i] === null) return null;
      var md = 0; for (var j = i - 13; j <= i; j++) md += Math.abs(tp[j] - mt[i]);
      md /= 14; return md ? (v - mt[i]) / (0.015 * md) : 0;
    }), '#ffffff']];
    r.levels = [-100, 0, 100];
  } else if (TECH == 13) {
    var roc = C.map(function (c, i) { return i < 12 ? null : (c - C[i - 12]) / C[i - 12] * 100; });
    var ma = roc.map(function (v, i) { if (i < 17) return null; var s = 0; for (var j = i - 5; j <= i; j++) s += roc[j]; return s / 6; });
    r.lines = [['ROC', roc, '#ffffff'], ['MAROC', ma, '#ffff00']]; r.levels = [0];
  } else {
    return null;
  }
  return r;
}
function range(series, lo, hi) {
  series.forEach(function (s) { s.forEach(function (v) { if (v !== null && isFinite(v)) { lo = Math.min(lo, v); hi = Math.max(hi, v); } }); });
  return hi > lo ? [lo, hi] : [lo - 1, hi + 1];
}
function polyline(values, x, y, colour) {
  g.strokeStyle = colour; g.lineWidth = 1; g.beginPath(); var started = false;
  values.forEach(function (v, i) { if (v === null || !isFinite(v)) return; if (started) g.lineTo(x(i), y(v)); else { g.moveTo(x(i), y(v)); started = true; } });
  g.stroke();
}
function draw() {
  var w = canvas.width = window.innerWidth, h = canvas.height = window.innerHeight;
  g.fillStyle = '#000000'; g.fillRect(0, 0, w, h); g.font = '12px sans-serif';
  var axis = 62, plotW = w - axis - 4, ind = indicator();
  var top = 20, bottom = ind ? Math.round(h * 0.64) : h - 18;
  var step = plotW / N, x = function (i) { return 2 + (i + 0.5) * step; };
  var pr = range([H, L], Infinity, -Infinity), py = function (v) { return bottom - (v - pr[0]) / (pr[1] - pr[0]) * (bottom - top - 4) - 2; };
  g.strokeStyle = '#7a1010'; g.strokeRect(1.5, top - 0.5, plotW, bottom - top);
  g.fillStyle = '#c0c0c0';
  for (var k = 0; k <= 4; k++) { var v = pr[0] + (pr[1] - pr[0]) * k / 4; g.fillText(v.toFixed(2), plotW + 6, py(v) + 4); }
  for (var i = 0; i < N; i++) {
    var up = C[i] >= O[i], colour = up ? '#ff3030' : '#00d0d0';
    g.strokeStyle = colour; g.beginPath(); g.moveTo(Math.round(x(i)) + 0.5, py(H[i])); g.lineTo(Math.round(x(i)) + 0.5, py(L[i])); g.stroke();
    var bw = Math.max(1, Math.floor(step * 0.7)), y1 = py(Math.max(O[i], C[i])), y2 = py(Math.min(O[i], C[i]));
    g.fillStyle = up ? '#000000' : colour; g.fillRect(Math.round(x(i) - bw / 2), y1, bw, Math.max(1, y2 - y1));
    if (up) { g.strokeRect(Math.round(x(i) - bw / 2) + 0.5, y1 + 0.5, bw - 1, Math.max(1, y2 - y1)); }
  }
  if (!ind) {
    [[5, '#ffffff'], [10, '#ffff00'], [20, '#ff00ff']].forEach(function (m) { polyline(sma(C, m[0]), x, py, m[1]); });
  }
  var last = N - 1;
  g.fillStyle = '#ffff00';
  g.fillText(TITLE + '  开' + O[last].toFixed(2) + ' 高' + H[last].toFixed(2) + ' 低' + L[last].toFixed(2) + ' 收' + C[last].toFixed(2), 4, 14);
  g.fillStyle = '#c0c0c0';
  for (i = 0; i < N; i += Math.ceil(N / 5)) g.fillText(LABELS[i], Math.min(x(i), plotW - 60), h - 4);
  if (!ind) return;
  var itop = bottom + 18, ibottom = h - 20, series = ind.lines.map(function (l) { return l[1]; });
  if (ind.bars) series.push(ind.bars);
  var ir = range(series.concat([ind.levels]), Infinity, -Infinity), iy = function (v) { return ibottom - (v - ir[0]) / (ir[1] - ir[0]) * (ibottom - itop); };
  g.strokeStyle = '#7a1010'; g.strokeRect(1.5, itop - 0.5, plotW, ibottom - itop);
  ind.levels.forEach(function (v) { g.strokeStyle = '#404040'; g.beginPath(); g.moveTo(2, iy(v)); g.lineTo(plotW, iy(v)); g.stroke(); g.fillStyle = '#c0c0c0'; g.fillText(String(v), plotW + 6, iy(v) + 4); });
  if (ind.bars) ind.bars.forEach(function (b, i) { g.strokeStyle = b >= 0 ? '#ff3030' : '#00d0d0'; g.beginPath(); g.moveTo(Math.round(x(i)) + 0.5, iy(0)); g.lineTo(Math.round(x(i)) + 0.5, iy(b)); g.stroke(); });
  var left = 4;
  ind.lines.forEach(function (l) {
    polyline(l[1], x, iy, l[2]);
    var v = l[1][last], text = l[0] + ':' + (v === null ? '-' : v.toFixed(2));
    g.fillStyle = l[2]; g.fillText(text, left, bottom + 14); left += g.measureText(text).width + 12;
  });
}
window.addEventListener('resize', draw);
draw();
)JS";

} // namespace

QList<Candle> goldCandles(MarketHistory& history, int period, int count, qint64 now) {
    if (period < 0 || period >= static_cast<int>(std::size(kPeriods)) || count <= 0)
        return {};
    const qint64 seconds = kPeriods[period].seconds;
    if (seconds < MarketHistory::kDaySeconds) {
        const qint64 first = (now / seconds - count + 1) * seconds;
        return candlesFrom(history.goldIntraday(first - seconds, now), seconds, first, count);
    }
    const qint64 days = seconds / MarketHistory::kDaySeconds;
    const qint64 first = (now / seconds - count + 1) * seconds;
    const int span = static_cast<int>((now - first) / MarketHistory::kDaySeconds + days + 1);
    return candlesFrom(history.goldDaily(span, now), seconds, first, count);
}

QByteArray kLinePage(MarketHistory& history, int period, int tech, qint64 now) {
    if (period < 0 || period >= static_cast<int>(std::size(kPeriods)))
        period = 4;
    const QList<Candle> candles = goldCandles(history, period, kCandles, now);
    const bool daily = kPeriods[period].seconds >= MarketHistory::kDaySeconds;
    QJsonArray data;
    QJsonArray labels;
    for (const Candle& candle : candles) {
        data.append(
            QJsonArray{static_cast<double>(candle.time), candle.open, candle.high, candle.low, candle.close});
        const QDateTime at = QDateTime::fromSecsSinceEpoch(candle.time, Qt::OffsetFromUTC, 8 * 3600);
        labels.append(at.toString(daily ? u"yyyy-MM-dd"_s : u"MM-dd HH:mm"_s));
    }
    const bool known = tech >= 6 && tech <= 13;
    QString title = u"XAUUSD 国际现货黄金 "_s + QString::fromUtf8(kPeriods[period].name);
    if (known)
        title += u' ' + QString::fromUtf8(kTechNames[tech - 6]);
    const QString page =
        u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title>"
        "<style>html,body{margin:0;padding:0;overflow:hidden;background:#000}"
        "canvas{display:block}</style></head><body><canvas id=\"k\"></canvas><script>"
        "var DATA=%2;var LABELS=%3;var TECH=%4;var TITLE=%5;%6</script></body></html>"_s.arg(
            title.toHtmlEscaped(), QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact)),
            QString::fromUtf8(QJsonDocument(labels).toJson(QJsonDocument::Compact)),
            QString::number(known ? tech : 0),
            QString::fromUtf8(QJsonDocument(QJsonArray{title}).toJson(QJsonDocument::Compact))
                .mid(1)
                .chopped(1),
            QString::fromUtf8(kScript));
    return page.toUtf8();
}

} // namespace demoportal
