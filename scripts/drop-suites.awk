# Copies an apt source file without the suites listed in the file `drops`
# (lines "URI suite"). A one-line list (format=list) loses the lines of a
# dropped suite; a deb822 file (format=deb822) loses the suite from its
# Suites field, and the whole stanza when no suite is left.
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

function flush(   i, n, u, s, kept, line, drop) {
  if (nlines == 0) return
  n = split(suites, s, " ")
  kept = ""
  for (i = 1; i <= n; i++) {
    drop = 0
    for (u in uris) if (dropped_pair(uris[u], s[i])) drop = 1
    if (!drop) kept = kept " " s[i]
  }
  if (n == 0 || kept != "") {
    for (i = 1; i <= nlines; i++) {
      line = lines[i]
      if (line ~ /^Suites:/) line = "Suites:" kept
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
  if ($0 ~ /^URIs:/) split(substr($0, 6), uris, " ")
  if ($0 ~ /^Suites:/) suites = substr($0, 8)
}
END { flush() }
