#!/usr/bin/env python3
"""The report page of kestra verify all in a real headless browser (Debian's chromium):
the page opened with "#filter=failed" draws exactly the failing parts of the run's 7, each
row with a cell per flow and its verdicts as the run printed them, and a failing cell's link
leads to its log beside the page. A second run with a waiver: the page opened with a part's
row open and filtered by rule shows that part "passed (waived)" with its finding greyed and the
waiver's reason, and only the parts with a finding of that rule; a click on a part and Enter
on a row open and close the rows.

usage: page_in_browser.py BUILD_DIR SOURCE_DIR   (exit 77: no chromium, the test is skipped)"""
import html.parser, os, re, shutil, subprocess, sys, tempfile

build, source = sys.argv[1], sys.argv[2]
browser = shutil.which("chromium") or shutil.which("chromium-browser")
if not browser:
    print("no chromium: scripts/setup installs it")
    sys.exit(77)


class Matrix(html.parser.HTMLParser):
    """The rows of table#matrix: (shown, [cell texts], [cell links])."""

    def __init__(self):
        super().__init__()
        self.rows, self.inside, self.cell, self.shown = [], False, None, None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "table":
            self.inside = a.get("id") == "matrix"
        elif self.inside and tag == "tr" and "data-text" in a:
            self.rows.append(("none" not in (a.get("style") or ""), [], []))
        elif self.inside and tag == "td" and self.rows:
            self.cell = ""
        elif self.inside and tag == "a" and self.rows:
            self.rows[-1][2].append(a["href"])
        elif tag == "span" and a.get("id") == "shown":
            self.shown = ""

    def handle_endtag(self, tag):
        if tag == "table":
            self.inside = False
        elif tag == "td" and self.cell is not None:
            self.rows[-1][1].append(self.cell)
            self.cell = None
        elif tag == "span" and self.shown is not None and not self.shown.isdigit():
            self.shown = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data
        if self.shown is not None and self.shown == "":
            self.shown = data


with tempfile.TemporaryDirectory() as work:
    skip = shutil.ignore_patterns("rulex", "temp*", "*_tmp.tak", "demo.sum", "demo.log")
    shutil.copytree(os.path.join(source, "examples", "demo"), os.path.join(work, "demo"), ignore=skip)
    page = os.path.join(work, "report.html")
    run = subprocess.run([os.path.join(build, "bin", "kestra"), "verify", "all", "-proj",
                          os.path.join(work, "demo", "demo.tak"), "-lib", "standard", "-flows",
                          "rulex,packaging", "-j", "2", "-html", page],
                         capture_output=True, text=True, timeout=120)
    assert run.returncode == 1, run.stderr
    dom = subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu",
                          "--user-data-dir=" + os.path.join(work, "profile"), "--dump-dom",
                          "file://" + page + "#filter=failed"],
                         capture_output=True, text=True, timeout=60)
    assert dom.returncode == 0, dom.stderr
    matrix = Matrix()
    matrix.feed(dom.stdout)
    rows = matrix.rows
    assert re.search(r"</span> of 7 parts shown", dom.stdout), "7 parts expected"
    assert all(len(cells) == 4 for _, cells, _ in rows), rows  # library, part, two flows
    printed = dict(re.findall(r"^standard/(\S+ \S+): ([a-z ]+?)(?::|$)", run.stdout, re.M))
    shown = sorted(cells[1] for visible, cells, _ in rows if visible)
    failing = sorted({key.split()[0] for key, word in printed.items() if word == "failed"})
    assert shown == failing and "7432" in shown, (shown, failing)
    assert all(cells[2:] == [printed[cells[1] + " rulex"], printed[cells[1] + " packaging"]]
               for _, cells, _ in rows), (rows, printed)
    assert matrix.shown == str(len(shown)), matrix.shown
    row7432 = next(r for r in rows if r[1][1] == "7432")
    log = os.path.join(work, row7432[2][0])
    assert os.path.isfile(log), log
    assert "TOTAL" in open(log, errors="replace").read(), "the rulex cell does not link its log"

    kestra = os.path.join(build, "bin", "kestra")
    waivers = os.path.join(work, "waivers.txt")
    subprocess.run([kestra, "waive", "-rule", "prop_present", "-lib", "standard", "-cell", "7432",
                    "-reason", "Legacy <b>part</b>", "-waivers", waivers], check=True, timeout=60)
    run = subprocess.run([kestra, "verify", "all", "-proj", os.path.join(work, "demo", "demo.tak"),
                          "-lib", "standard", "-flows", "rulex,packaging", "-changed", "-waivers",
                          waivers, "-html", page], capture_output=True, text=True, timeout=120)
    assert "standard/7432 rulex: passed (waived)" in run.stdout, run.stdout
    dom = subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu",
                          "--user-data-dir=" + os.path.join(work, "profile"), "--dump-dom",
                          "file://" + page + "#rule=prop_present&open=standard/7432"],
                         capture_output=True, text=True, timeout=60)
    matrix = Matrix()
    matrix.feed(re.sub(r'<tr class="detail">.*?</table></td></tr>', "", dom.stdout, flags=re.S))
    parts = sorted(cells[1] for _, cells, _ in matrix.rows)
    row7432 = next(cells for _, cells, _ in matrix.rows if cells[1] == "7432")
    assert row7432[2] == "passed (waived)", row7432
    detail = re.search(r'<tr class="detail">(.*?)</table></td></tr>', dom.stdout, re.S)
    assert detail, "the row of 7432 is not open"
    finding = re.search(r'<tr class="f-error fwaived">(.*?)</tr>', detail.group(1), re.S)
    assert finding and "7432_DIP14 lacks property PART_NAME" in finding.group(1), detail.group(1)
    assert "waived: Legacy &lt;b&gt;part&lt;/b&gt;" in finding.group(1), finding.group(1)
    assert 'option value="' in dom.stdout and "prop_present: " in dom.stdout
    # Of the 7 parts only 7432 has a finding of prop_present (waived, still shown).
    assert parts == ["7432"], parts

    # Click and Enter as a reader gives them: a copy of the page with a last script that sends
    # the events to the page's own handlers (the page itself is left as it is). A click on the
    # part opens 7432's row, Enter on another part's row opens it, a second click closes 7432's.
    driven = os.path.join(work, "driven.html")
    with open(page, encoding="utf-8") as original, open(driven, "w", encoding="utf-8") as copy:
        copy.write(original.read().replace("</body>", """<script>
function rowOf(name){return [].find.call(document.querySelectorAll('#matrix tr.hasfindings'),
  function(tr){return tr.cells[1].textContent===name;});}
function click(name){rowOf(name).cells[1].dispatchEvent(new MouseEvent('click',{bubbles:true}));}
click('7432');
var other=[].find.call(document.querySelectorAll('#matrix tr.hasfindings'),
  function(tr){return tr.cells[1].textContent!=='7432';});
document.body.setAttribute('data-other',other.cells[1].textContent);
other.dispatchEvent(new KeyboardEvent('keydown',{key:'Enter',bubbles:true}));
click('7432');
</script></body>"""))
    dom = subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu",
                          "--user-data-dir=" + os.path.join(work, "profile"), "--dump-dom",
                          "file://" + driven], capture_output=True, text=True, timeout=60)
    other = re.search(r'data-other="([^"]+)"', dom.stdout)
    assert other, dom.stdout[-2000:]
    expanded = dict((name, state) for state, name in re.findall(
        r'<tr [^>]*aria-expanded="(true|false)"[^>]*><td>[^<]*</td><td[^>]*>([^<]+)</td>', dom.stdout))
    assert expanded.get(other.group(1)) == "true" and expanded.get("7432") == "false", expanded
    assert len(re.findall(r'<tr class="detail">', dom.stdout)) == 1, "one row open"
    print(f"page in {browser}: {len(rows)} rows, {len(shown)} shown by the filter, log linked; "
          f"{len(parts)} parts with prop_present, 7432 open and waived; click and Enter "
          f"toggle rows ({other.group(1)} opened by Enter)")
