#include "partner_page.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace demoportal {

namespace {

constexpr qint64 kShownSeconds = 6 * 3600;

const char* const kScript = R"JS(
var canvas = document.getElementById('c'), g = canvas.getContext('2d');
function draw() {
  var w = canvas.width = canvas.clientWidth, h = canvas.height = canvas.clientHeight;
  g.fillStyle = '#0b1626'; g.fillRect(0, 0, w, h);
  if (POINTS.length < 2) return;
  var lo = Infinity, hi = -Infinity;
  POINTS.forEach(function (p) { lo = Math.min(lo, p[1]); hi = Math.max(hi, p[1]); });
  if (hi - lo < 1) { hi += 0.5; lo -= 0.5; }
  var t0 = POINTS[0][0], t1 = POINTS[POINTS.length - 1][0], right = w - 70;
  var x = function (t) { return 10 + (t - t0) / Math.max(t1 - t0, 1) * (right - 20); };
  var y = function (v) { return h - 24 - (v - lo) / (hi - lo) * (h - 44); };
  g.font = '12px sans-serif'; g.strokeStyle = '#1f3550'; g.fillStyle = '#8fa8c8';
  for (var k = 0; k <= 4; k++) {
    var v = lo + (hi - lo) * k / 4; g.beginPath(); g.moveTo(10, y(v)); g.lineTo(right, y(v)); g.stroke();
    g.fillText(v.toFixed(2), right + 6, y(v) + 4);
  }
  for (k = 0; k <= 6; k++) {
    var t = t0 + (t1 - t0) * k / 6, d = new Date((t + 8 * 3600) * 1000);
    g.fillText(('0' + d.getUTCHours()).slice(-2) + ':' + ('0' + d.getUTCMinutes()).slice(-2), x(t) - 14, h - 6);
  }
  var grad = g.createLinearGradient(0, 20, 0, h - 24);
  grad.addColorStop(0, 'rgba(255,200,40,0.35)'); grad.addColorStop(1, 'rgba(255,200,40,0)');
  g.beginPath(); g.moveTo(x(POINTS[0][0]), h - 24);
  POINTS.forEach(function (p) { g.lineTo(x(p[0]), y(p[1])); });
  g.lineTo(x(t1), h - 24); g.closePath(); g.fillStyle = grad; g.fill();
  g.beginPath(); g.strokeStyle = '#ffc828'; g.lineWidth = 2;
  POINTS.forEach(function (p, i) { if (i) g.lineTo(x(p[0]), y(p[1])); else g.moveTo(x(p[0]), y(p[1])); });
  g.stroke(); g.lineWidth = 1;
}
function show(q) {
  var first = POINTS[0][1], change = q.usd - first;
  document.getElementById('usd').textContent = q.usd.toFixed(2);
  document.getElementById('cny').textContent = q.cny.toFixed(2);
  var c = document.getElementById('chg');
  c.textContent = (change >= 0 ? '+' : '') + change.toFixed(2) + ' (' + (change / first * 100).toFixed(2) + '%)';
  c.style.color = change >= 0 ? '#ff5050' : '#30d080';
  var d = new Date((q.t + 8 * 3600) * 1000);
  document.getElementById('time').textContent = d.toISOString().slice(11, 19);
}
function poll() {
  var r = new XMLHttpRequest();
  r.open('GET', '/partner/quote.json?t=' + Date.now());
  r.onload = function () {
    try { var q = JSON.parse(r.responseText); } catch (e) { return; }
    if (q.t > POINTS[POINTS.length - 1][0]) { POINTS.push([q.t, q.usd]); if (POINTS.length > 2000) POINTS.shift(); }
    show(q); draw();
  };
  r.send();
}
window.addEventListener('resize', draw);
draw(); show(LAST); setInterval(poll, 5000);
)JS";

QJsonObject quoteObject(MarketHistory& history, qint64 now) {
    const double cny = history.goldNow();
    return {
        {u"t"_s, static_cast<double>(now)}, {u"usd"_s, MarketHistory::toUsdPerOunce(cny)}, {u"cny"_s, cny}};
}

} // namespace

QByteArray partnerPage(MarketHistory& history, qint64 now) {
    history.observe(now);
    QJsonArray points;
    for (const QPointF& point : history.goldIntraday(now - kShownSeconds, now))
        points.append(QJsonArray{point.x(), MarketHistory::toUsdPerOunce(point.y())});
    const QString page =
        u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>综合看盘</title><style>"
        "html,body{margin:0;height:100%;overflow:hidden;background:#0b1626;color:#dce6f4;"
        "font:13px sans-serif}#bar{height:54px;padding:6px 12px;box-sizing:border-box;background:#13243c;"
        "border-bottom:1px solid #24446c}#bar b{font-size:22px;color:#ffc828;margin-right:10px}"
        "#bar span{margin-right:18px}#c{display:block;width:100%;height:calc(100% - 54px)}</style></head>"
        "<body><div id=\"bar\"><span>国际现货黄金 XAUUSD</span><b id=\"usd\">-</b><span id=\"chg\"></span>"
        "<span>人民币 <b id=\"cny\" style=\"font-size:16px\">-</b>元/克</span><span>北京时间 <span "
        "id=\"time\">"
        "</span></span></div><canvas id=\"c\"></canvas><script>var POINTS=%1;var LAST=%2;%3</script>"
        "</body></html>"_s.arg(
            QString::fromUtf8(QJsonDocument(points).toJson(QJsonDocument::Compact)),
            QString::fromUtf8(QJsonDocument(quoteObject(history, now)).toJson(QJsonDocument::Compact)),
            QString::fromUtf8(kScript));
    return page.toUtf8();
}

QByteArray partnerQuote(MarketHistory& history, qint64 now) {
    history.observe(now);
    return QJsonDocument(quoteObject(history, now)).toJson(QJsonDocument::Compact);
}

} // namespace demoportal
