# Copies an apt source file without the suites listed in the file `drops`
# (lines "URI suite"). A one-line list (format=list) loses the lines of a
# dropped suite; a deb822 file (format=deb822) loses the suite from its
# Suites field for the URI it failed on, and a stanza when no suite is left.
function base(u) { sub(/\/+$/, "", u); return u }
function dropped_pair(uri, suite) { return (base(uri) " " suite) in dropped }

BEGIN { while ((getline l < drops) > 0) { split(l, p, " "); dropped[base(p[1]) " " p[2]] = 1 } }

format == "list" && /^[ \t]*deb(-src)?[ \t]/ {
  l = $0
  sub(/\[[^]]*\]/, "", l)
  split(l, w, " ")
  if (dropped_pair(w[2], w[3])) next
}
format == "list" { print; next }

# A stanza keeps, for each of its URIs, the suites not dropped for that URI;
# URIs left with the same suites share one stanza, so a suite dropped for one
# URI only splits the stanza. Field names are read in any case.
function field(line, name) { return tolower(substr(line, 1, length(name) + 1)) == name ":" }
function flush(   i, j, k, n, nu, s, kept, line, done, group) {
  if (nlines == 0) return
  n = split(suites, s, " ")
  nu = 0
  for (u in uris) nu++
  if (n == 0 || nu == 0) { nu = 1; uris[1] = ""; n = 0 }
  for (j = 1; j <= nu; j++) {
    kept[j] = ""
    for (i = 1; i <= n; i++) if (!dropped_pair(uris[j], s[i])) kept[j] = kept[j] " " s[i]
  }
  for (j = 1; j <= nu; j++) {
    if (j in done || (n > 0 && kept[j] == "")) continue
    group = ""
    for (k = j; k <= nu; k++) if (kept[k] == kept[j]) { group = group " " uris[k]; done[k] = 1 }
    for (i = 1; i <= nlines; i++) {
      line = lines[i]
      if (n > 0 && field(line, "suites")) line = substr(line, 1, 7) kept[j]
      if (n > 0 && field(line, "uris")) line = substr(line, 1, 5) group
      print line
    }
    print ""
  }
  nlines = 0
  suites = ""
  split("", uris)
}
/^[ \t]*$/ { flush(); next }
{
  lines[++nlines] = $0
  if (field($0, "uris")) split(substr($0, 6), uris, " ")
  if (field($0, "suites")) suites = substr($0, 8)
}
END { flush() }
