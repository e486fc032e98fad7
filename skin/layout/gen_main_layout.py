#!/usr/bin/env python3
"""Writes the main window's layout from main.xml.in: the 16 channel rows, the
31 EQ band columns, the 192 routing check boxes, the 28 speaker pins and the
shared styles are generated here so that every copy stays alike.

usage: gen_main_layout.py TEMPLATE OUTPUT"""
import math
import re
import sys

from layout_file import arguments, write_layout

CHANNELS = 16
BANDS = 31
INPUTS = 12
PAIRS = 8

# Colours of the skin (see the visual language): text, secondary text, accent,
# danger, panel, alternate row.
TEXT = "#FFE6E9EE"
TEXT2 = "#FF9AA3AE"
TEXT_OFF = "#FF5C646E"
ACCENT = "#FF1EA7E1"
PANEL = "#FF1F2329"
ROW_ALT = "#FF1A1E23"
CURVE_COLORS = ["#FF1EA7E1", "#FFF5A524", "#FF3FB950", "#FFE5484D", "#FFB57BFF", "#FF2DD4BF", "#FFF472B6", "#FFA3E635",
                "#FF60A5FA", "#FFFB923C", "#FFE879F9", "#FFFACC15"]

# The dialogs' fonts, ids as the main window's: body, bold, title, small.
FONTS = """  <Font id="0" name="Microsoft YaHei" size="12" default="true"/>
  <Font id="1" name="Microsoft YaHei" size="12" bold="true"/>
  <Font id="2" name="Microsoft YaHei" size="14" bold="true"/>
  <Font id="3" name="Microsoft YaHei" size="11"/>"""

PAGE_HEIGHT = 188
# Band columns sit edge to edge at a width that scales to whole pixels at
# 125 % and 150 %, so that no column's rounding adds up along the strip.
BAND_WIDTH = 36
BAND_LABEL_WIDTH = 44
BAND_SLIDER_HEIGHT = 94
STRIP_ROW_HEIGHT = 20
ROUTING_CELL_WIDTH = 34
CAR_WIDTH = 760


def attrs(values):
    """Attribute list text for Style values: name=&quot;value&quot; pairs."""
    return " ".join(f"{k}=&quot;{v}&quot;" for k, v in values)


def attr(name, value):
    """One attribute with its leading blank."""
    return f' {name}="{value}"'


def image(name, corner=None, dest=None):
    spec = f"file='img/{name}.png'"
    if dest:
        spec += " dest='%d,%d,%d,%d'" % dest
    if corner:
        spec += " corner='%d,%d,%d,%d'" % corner
    return spec


def faces(prefix, corner):
    """normal/hot/pushed/disabled images of a button face."""
    return [(f"{state}image", image(f"{prefix}_{state}", corner)) for state in ("normal", "hot", "pushed", "disabled")]


def check_style(name, width, height, on="check_on", text=False):
    """A check box whose 16 px box sits at the left (with text) or centred."""
    left = 0 if text else (width - 16) // 2
    top = (height - 16) // 2
    dest = (left, top, left + 16, top + 16)
    values = [("normalimage", image("check_off", dest=dest)), ("hotimage", image("check_off_hot", dest=dest)),
              ("disabledimage", image("check_off_disabled", dest=dest)), ("selectedimage", image(on, dest=dest)),
              ("selectedhotimage", image(on + ("_hot" if on == "check_on" else ""), dest=dest)),
              # Disabled, a ticked box greys out whatever its live colour.
              ("selecteddisabledimage", image("check_on_disabled", dest=dest))]
    if text:
        # The caption right beside its box, in the secondary colour of the labels around it.
        values += [("textpadding", "22,0,0,0"), ("align", "left"), ("valign", "vcenter"), ("textcolor", TEXT2),
                   ("disabledtextcolor", TEXT_OFF)]
    else:
        values += [("width", width)]
    return f'  <Style name="{name}" value="{attrs(values)}"/>'


def styles():
    corner = (5, 5, 5, 5)
    button = [("height", 24), ("textcolor", TEXT), ("hottextcolor", TEXT), ("disabledtextcolor", TEXT_OFF),
              ("align", "center"), ("valign", "vcenter"), ("endellipsis", "true")] + faces("btn", corner)
    selected = [("selectedimage", image("btn_selected", corner)), ("selectedhotimage", image("btn_selected_hot", corner)),
                ("selectedtextcolor", TEXT)]
    edit = [("height", 24), ("bkcolor", "#FF1A1E23"), ("textcolor", TEXT), ("disabledtextcolor", TEXT_OFF), ("nativebkcolor", "#FF1A1E23"),
            ("nativetextcolor", TEXT), ("align", "right"), ("textpadding", "4,0,6,0"),
            ("normalimage", image("edit_normal", (4, 4, 4, 4))), ("hotimage", image("edit_hot", (4, 4, 4, 4))),
            ("focusedimage", image("edit_focused", (4, 4, 4, 4))),
            ("disabledimage", image("edit_disabled", (4, 4, 4, 4)))]
    small_edit = [(k, v) for k, v in edit if k not in ("height", "align", "textpadding")] + [
        ("height", 20), ("font", 3), ("align", "right"), ("textpadding", "2,0,5,0")]
    combo = [("height", 24), ("textcolor", TEXT), ("disabledtextcolor", TEXT_OFF), ("textpadding", "6,0,22,0"),
             ("endellipsis", "true"), ("itemfont", 0), ("itemtextcolor", TEXT), ("itembkcolor", PANEL),
             ("itemhottextcolor", TEXT), ("itemhotbkcolor", "#FF343B45"), ("itemselectedtextcolor", TEXT),
             ("itemselectedbkcolor", "#FF17384A"), ("itemtextpadding", "6,0,6,0"), ("dropboxinset", "1,1,1,1")
             ] + faces("combo", (4, 4, 22, 4))
    tab = [("height", 24), ("textcolor", TEXT2), ("hottextcolor", TEXT), ("selectedtextcolor", TEXT),
           ("font", 1), ("align", "center"), ("valign", "vcenter"), ("endellipsis", "true"),
           ("hotimage", image("tab_hot", (4, 4, 4, 4))), ("selectedimage", image("tab_selected", (4, 4, 4, 4)))]
    cell = [("textcolor", TEXT2), ("font", 3), ("align", "center"), ("valign", "vcenter"), ("endellipsis", "true")]
    axis = [("textcolor", TEXT2), ("font", 3)]
    phase = [("width", 40), ("font", 3), ("textcolor", TEXT), ("selectedtextcolor", "#FFF5A524"), ("align", "center"),
             ("valign", "vcenter")] + faces("btn", corner) + [("selectedimage", image("btn_selected", corner))]
    speaker = [("width", 18), ("height", 18), ("normalimage", image("spk_normal")), ("hotimage", image("spk_hot")),
               ("pushedimage", image("spk_selected")), ("selectedimage", image("spk_selected")),
               ("selectedhotimage", image("spk_selected"))]
    lines = [
        f'  <Style name="st_btn" value="{attrs(button)}"/>',
        f'  <Style name="st_sbtn" value="{attrs(button + selected)}"/>',
        f'  <Style name="st_edit" value="{attrs(edit)}"/>',
        f'  <Style name="st_edit_small" value="{attrs(small_edit)}"/>',
        f'  <Style name="st_combo" value="{attrs(combo)}"/>',
        f'  <Style name="st_tab" value="{attrs(tab)}"/>',
        f'  <Style name="st_cell_label" value="{attrs(cell)}"/>',
        f'  <Style name="st_axis_label" value="{attrs(axis)}"/>',
        f'  <Style name="st_phase" value="{attrs(phase)}"/>',
        f'  <Style name="st_speaker" value="{attrs(speaker)}"/>',
        check_style("st_check_text_danger", 0, 24, on="check_on_danger", text=True),
        check_style("st_check_strip", 28, STRIP_ROW_HEIGHT),
        check_style("st_check_strip_danger", 28, STRIP_ROW_HEIGHT, on="check_on_danger"),
        check_style("st_check_cell", ROUTING_CELL_WIDTH, 24),
    ]
    return "\n".join(lines)


def slider(name, width, height, vertical=False, extra="", fill=True):
    """A slider with its 4 px track (and the filled part) drawn along the
    middle of the control; the thumb is the shared round one."""
    if vertical:
        track = ((width - 4) // 2, 7, (width + 4) // 2, height - 7)
    else:
        track = (7, (height - 4) // 2, width - 7, (height + 4) // 2)
    fore = (f' foreimage="{image("track_fill", (2, 2, 2, 2), track)}"'
            f' disabledforeimage="{image("track_fill_disabled", (2, 2, 2, 2), track)}"') if fill else ""
    hor = ' hor="false"' if vertical else ""
    return (f'<Slider name="{name}" width="{width}" height="{height}"{hor} sendmove="true"{extra} '
            f'bkimage="{image("track", (2, 2, 2, 2), track)}"{fore} thumbsize="14,14" '
            f'thumbimage="img/slider_thumb.png" thumbhotimage="img/slider_thumb_hot.png" '
            f'thumbpushedimage="img/slider_thumb_pushed.png" thumbdisabledimage="img/slider_thumb_disabled.png"/>')


def combo(name, width, rows, extra="", chosen=None):
    """A drop-down list; rows are (name, text, visible) or (name, text,
    visible, userdata); the row at index chosen shows until another is picked."""
    items = "".join(f'<ListLabelElement{attr("name", row[0]) if row[0] else ""}{attr("text", row[1])}'
                    f'{"" if row[2] else attr("visible", "false")}'
                    f'{attr("userdata", row[3]) if len(row) > 3 else ""}'
                    f'{attr("selected", "true") if i == chosen else ""}/>' for i, row in enumerate(rows))
    return (f'<Combo name="{name}" width="{width}" innerstyle="st_combo"{extra} '
            f'dropbox="bkcolor=&quot;{PANEL}&quot; bordercolor=&quot;#FF3A424D&quot; bordersize=&quot;1&quot;">'
            f'{items}</Combo>')


def input_source():
    keys = ["source_opt", "source_coax", "source_bt", "source_aux", "source_low", "source_hi", "source_dmp",
            "source_udp", "source_scp"]
    return combo("btn_input_source", 104, [(k, "${" + k + "}", True) for k in keys])


FILTER_TYPES = [("", "", False), ("", "${butterworth}", True), ("", "${linkwitz_riley}", True),
                ("", "${bessel}", True)]
SLOPES = [("", "${off}", True)] + [("", f"{6 * n}dB/oct", True) for n in range(1, 9)]


def filter_combos(prefix):
    return "\n".join(" " * 12 + c for c in (combo(f"{prefix}_type", 104, FILTER_TYPES),
                                            combo(f"{prefix}_slop", 80, SLOPES)))


# Channel strip: column header text, width, and the control of channel c.
# The show-curve column is headed by a curve icon: no word fits 28 px in
# every language.
CURVE_HEADER = "@curve"
STRIP_COLUMNS = [
    ("${channel}", 44, lambda c: f'<SButton name="ch_enable_{c}" userdata="{c}" text="CH{c + 1}" width="44" '
                                 f'height="{STRIP_ROW_HEIGHT}" font="1" innerstyle="st_sbtn"/>'),
    (CURVE_HEADER, 28, lambda c: f'<CheckBox name="ch_show_{c}" userdata="{c}" tooltip="${{show_curve}}" '
                                 f'innerstyle="st_check_strip"/>'),
    ("${output}", 86, lambda c: f'<Button name="ch_output_btn_{c}" userdata="{c}" text="${{empty}}" width="86" '
                                f'height="{STRIP_ROW_HEIGHT}" font="3" innerstyle="st_btn"/>'),
    ("${volume}", 90, lambda c: slider(f"slider_ch_volume_{c}", 90, STRIP_ROW_HEIGHT,
                                       extra=f' userdata="{c}" min="-600" max="0" step="10"')),
    ("dB", 52, lambda c: f'<Edit name="edit_ch_volume_{c}" userdata="{c}" width="52" innerstyle="st_edit_small"/>'),
    ("${mute_short}", 28, lambda c: f'<CheckBox name="ch_mute_{c}" userdata="{c}" tooltip="${{mute}}" '
                                    f'innerstyle="st_check_strip_danger"/>'),
    ("${solo_short}", 28, lambda c: f'<CheckBox name="ch_solo_{c}" userdata="{c}" tooltip="${{solo}}" '
                                    f'innerstyle="st_check_strip"/>'),
    ("${phase}", 40, lambda c: f'<CheckBox name="ch_phase_{c}" userdata="{c}" text="${{positive_phase}}" '
                               f'height="{STRIP_ROW_HEIGHT}" innerstyle="st_phase"/>'),
    ("${link_short}", 28, lambda c: f'<CheckBox name="ch_synchronize_{c}" userdata="{c}" tooltip="${{link_channel}}" '
                                    f'innerstyle="st_check_strip"/>'),
    ("${group_short}", 28, lambda c: f'<CheckBox name="delay_link_{c}" userdata="{c}" tooltip="${{delay_group}}" '
                                     f'width="20" padding="4,3,4,3" bkcolor="#FF666666" forecolor="#FF666666"/>'),
    ("${delay}", 76, lambda c: f'<Edit name="edit_ch_delay_{c}" userdata="{c}" width="76" innerstyle="st_edit_small"/>'),
    ("", 44, lambda c: (f'<HorizontalLayout width="44">'
                        f'<Label name="delay_lable_{c}"/>'
                        + slider(f"slider_ch_delay_{c}", 44, STRIP_ROW_HEIGHT,
                                 extra=f' userdata="{c}" min="0" max="15000" step="21" visible="false"', fill=False)
                        + '</HorizontalLayout>')),
]
STRIP_GAP = 2
STRIP_WIDTH = sum(w for _, w, _ in STRIP_COLUMNS) + STRIP_GAP * (len(STRIP_COLUMNS) - 1) + 6


def channel_header():
    def cell(text, width):
        if text == CURVE_HEADER:
            icon = image("curve_icon", dest=((width - 16) // 2, 2, (width + 16) // 2, 18))
            return f'<Label name="ch_show_header" width="{width}" tooltip="${{show_curve}}" bkimage="{icon}"/>'
        return f'<Label text="{text}" width="{width}" innerstyle="st_cell_label"/>'
    cells = "".join(cell(t, w) for t, w, _ in STRIP_COLUMNS)
    return (f'          <HorizontalLayout height="{STRIP_ROW_HEIGHT}" inset="3,0,3,0" childpadding="{STRIP_GAP}" '
            f'bkcolor="#FF262C33">{cells}</HorizontalLayout>')


def channel_rows():
    rows = []
    for c in range(CHANNELS):
        background = f' bkcolor="{ROW_ALT}"' if c % 2 else ""
        cells = "\n".join(" " * 12 + make(c) for _, _, make in STRIP_COLUMNS)
        rows.append(f'          <HorizontalLayout height="{STRIP_ROW_HEIGHT}" inset="3,0,3,0" '
                    f'childpadding="{STRIP_GAP}"{background}>\n{cells}\n          </HorizontalLayout>')
    return "\n".join(rows)


def band_labels():
    rows = [("${band}", 18), ("dB", BAND_SLIDER_HEIGHT), ("${gain}", 20), ("${freq}", 20), ("Q", 20)]
    labels = "".join(f'<Label{attr("text", t)}{attr("height", h)} innerstyle="st_cell_label"/>'
                     for t, h in rows)
    return f'            <VerticalLayout width="{BAND_LABEL_WIDTH}" childpadding="2">{labels}</VerticalLayout>'


def band_columns():
    columns = []
    locked = attr("disabledtextcolor", TEXT2)
    # "20000" fits a band column with a pixel less padding than other small edits.
    narrow = attr("textpadding", "1,0,2,0")
    for b in range(BANDS):
        # Tenths of a dB: the chart's -18 to +12 dB.
        band_slider = slider(f"eq_slider_{b}", BAND_WIDTH - 1, BAND_SLIDER_HEIGHT, vertical=True, fill=False,
                             extra=attr("userdata", b) + attr("min", -180) + attr("max", 120))
        columns.append(
            f'            <VerticalLayout width="{BAND_WIDTH}" inset="1,0,0,0" childpadding="2">\n'
            f'              <SButton name="pt_enable_{b}" userdata="{b}" text="{b + 1}" height="18" font="3" '
            f'tooltip="${{band_enable}}" innerstyle="st_sbtn"/>\n'
            f'              {band_slider}\n'
            f'              <Edit name="eq_gain_{b}" userdata="{b}" innerstyle="st_edit_small"{narrow}/>\n'
            # The graphic mode locks frequency and Q but they stay legible.
            f'              <Edit name="eq_freq_{b}" userdata="{b}" innerstyle="st_edit_small"{narrow}{locked}/>\n'
            f'              <Edit name="eq_q_{b}" userdata="{b}" innerstyle="st_edit_small"{narrow}{locked}/>\n'
            f'            </VerticalLayout>')
    return "\n".join(columns)


# The EQ chart beside the channel strips and its axis labels. The chart's
# plot is its whole control: frequencies on a logarithmic axis from 20 Hz to
# 20 kHz, gains from +12 dB at the top to -18 dB at the bottom, mapped as the
# chart maps them, so that each label stands at its grid line.
WINDOW_WIDTH = 1230
CHART_HEIGHT = 284
FREQ_AXIS_HEIGHT = 16
GAIN_AXIS_WIDTH = 30
AXIS_LABEL_HEIGHT = 11
FREQ_LABEL_WIDTH = 32
FREQ_LABELS = [(20, "20"), (50, "50"), (100, "100"), (200, "200"), (500, "500"), (1000, "1k"), (2000, "2k"),
               (5000, "5k"), (10000, "10k"), (20000, "20k")]
GAIN_LABELS = [12, 10, 5, 0, -5, -10, -15, -18]
MAX_GAIN = 12
MIN_GAIN = -18


def chart_width():
    """The chart column's width: the window inside its border and margins,
    less the channel strips and the gap between them, less the gain axis."""
    return WINDOW_WIDTH - 2 * 1 - 2 * 8 - 8 - STRIP_WIDTH - GAIN_AXIS_WIDTH


def freq_x(width, freq):
    return width * (math.log10(freq) - math.log10(20)) / (math.log10(20000) - math.log10(20))


def gain_y(height, gain):
    """The chart's own rounding: the zero line at a whole pixel, each half of
    the axis scaled from there."""
    zero = height * MAX_GAIN // (MAX_GAIN - MIN_GAIN)
    if gain > 0:
        return int(zero - round(zero * gain) / MAX_GAIN)
    return int(zero - round((height - zero) * gain) / -MIN_GAIN)


def axis_label(name, text, pos, align):
    return (f'<Label name="{name}" text="{text}" float="true" pos="%d,%d,%d,%d" align="{align}" valign="vcenter" '
            f'innerstyle="st_axis_label"/>' % pos)


def eq_chart():
    width = chart_width()
    plot_height = CHART_HEIGHT - FREQ_AXIS_HEIGHT
    freqs = []
    for i, (freq, text) in enumerate(FREQ_LABELS):
        x = round(freq_x(width, freq))
        left, align = x - FREQ_LABEL_WIDTH // 2, "center"
        if i == 0:
            left, align = x, "left"
        elif i == len(FREQ_LABELS) - 1:
            left, align = x - FREQ_LABEL_WIDTH, "right"
        freqs.append(axis_label(f"axis_hz_{freq}", text, (left, 2, left + FREQ_LABEL_WIDTH, 2 + AXIS_LABEL_HEIGHT),
                                align))
    gains = []
    for gain in GAIN_LABELS:
        y = gain_y(plot_height, gain)
        top = min(max(y - AXIS_LABEL_HEIGHT // 2, 0), plot_height - AXIS_LABEL_HEIGHT)
        text = f"+{gain}" if gain > 0 else str(gain).replace("-", "\u2212")
        gains.append(axis_label(f"axis_db_{gain}".replace("-", "m"), text,
                                (0, top, GAIN_AXIS_WIDTH - 4, top + AXIS_LABEL_HEIGHT), "right"))
    pad = " " * 10
    return (f'{pad}<HorizontalLayout height="{CHART_HEIGHT}">\n'
            f'{pad}  <Container width="{GAIN_AXIS_WIDTH}" height="{plot_height}">{"".join(gains)}</Container>\n'
            f'{pad}  <VerticalLayout width="{width}">\n'
            f'{pad}    <Curve name="equalizer" height="{plot_height}" bkcolor="#FF0F1215" bordercolor="#FF2E343C" '
            f'bordersize="1" font="3" bypassfont="2" textcolor="{TEXT}"\n'
            f'{pad}           curvecolor="{" ".join(CURVE_COLORS)}"/>\n'
            f'{pad}    <Container height="{FREQ_AXIS_HEIGHT}">{"".join(freqs)}</Container>\n'
            f'{pad}  </VerticalLayout>\n'
            f'{pad}</HorizontalLayout>')


def routing_blocks():
    """Inputs 1-6 and 7-12 side by side, one column per output channel."""
    blocks = []
    half = INPUTS // 2
    for first in (0, half):
        header = (f'<Label text="${{input}}" width="40" innerstyle="st_cell_label"/>'
                  + "".join(f'<Label text="CH{o + 1}" width="{ROUTING_CELL_WIDTH}" innerstyle="st_cell_label"/>'
                            for o in range(CHANNELS)))
        rows = [f'              <HorizontalLayout height="24">{header}</HorizontalLayout>']
        for i in range(first, first + half):
            boxes = "".join(f'<CheckBox name="option_ch_in{i}_{o}" innerstyle="st_check_cell"/>' for o in range(CHANNELS))
            rows.append(f'              <HorizontalLayout height="24" bkcolor="{ROW_ALT if i % 2 else PANEL}">'
                        f'<Label text="{i + 1}" width="40" innerstyle="st_cell_label"/>{boxes}</HorizontalLayout>')
        blocks.append('            <VerticalLayout width="%d" childpadding="2">\n%s\n            </VerticalLayout>'
                      % (40 + ROUTING_CELL_WIDTH * CHANNELS, "\n".join(rows)))
    return "\n".join(blocks)


# Speaker positions on the car seen from above, front to the right, so the
# car's left side is at the top. code: (language key, x, y) of the marker.
SPEAKERS = {
    1: ("front_left_tweeter", 592, 20), 2: ("front_left_midrange", 512, 20), 3: ("front_left_woofer", 432, 20),
    4: ("front_left_mid_twee", 592, 44), 5: ("front_left_mid_woof", 512, 44), 6: ("front_left_full", 432, 44),
    7: ("front_right_tweeter", 592, 150), 8: ("front_right_midrange", 512, 150), 9: ("front_right_woofer", 432, 150),
    10: ("front_right_mid_twee", 592, 126), 11: ("front_right_mid_woof", 512, 126), 12: ("front_right_full", 432, 126),
    13: ("rear_left_tweeter", 336, 20), 14: ("rear_left_woofer", 176, 20), 15: ("rear_left_full", 336, 44),
    16: ("rear_right_tweeter", 336, 150), 17: ("rear_right_woofer", 176, 150), 18: ("rear_right_full", 336, 126),
    19: ("center_tweeter", 592, 72), 20: ("center_woofer", 512, 72), 21: ("center_full", 432, 72),
    22: ("left_subwoofer_freq", 96, 44), 23: ("right_subwoofer_freq", 96, 126), 24: ("subwoofer_freq", 96, 85),
    25: ("rear_left_mid", 256, 20), 26: ("rear_right_mid", 256, 150), 27: ("front_center_all", 592, 98),
    28: ("rear_center_all", 336, 85),
}


def speaker_pins():
    """Marker and delay box of each position, hidden until a channel takes it."""
    pins = []
    for code in sorted(SPEAKERS):
        key, x, y = SPEAKERS[code]
        k = code - 1
        pins.append(
            f'              <SButton name="speaker_{k}" userdata="{code}" tooltip="${{{key}}}" float="true" '
            f'pos="{x},{y},{x + 18},{y + 18}" visible="false" innerstyle="st_speaker"/>\n'
            f'              <Container name="spk_con_{k}" float="true" pos="{x + 20},{y},{x + 72},{y + 18}" '
            f'visible="false"><Edit name="spk_delay_{k}" userdata="{code}" tooltip="${{{key}}}" height="18" '
            f'innerstyle="st_edit_small"/></Container>')
    return "\n".join(pins)


def bridge_buttons():
    return "\n".join(f'                <SButton name="ch_bridge_{p}" userdata="{p}" text="{2 * p + 1}+{2 * p + 2}" '
                     f'tooltip="${{bridge_pair}}" width="50" font="3" innerstyle="st_sbtn"/>' for p in range(PAIRS))


STYLE_ATTRIBUTE = re.compile(r'<(\w+)((?:\s+\w+="[^"]*")*?)\s+innerstyle="([^"]*)"')


def style_first(text):
    """Moves innerstyle to the front of each element: attributes apply in
    order, so the element's own attributes then override its style."""
    return STYLE_ATTRIBUTE.sub(lambda m: f'<{m.group(1)} innerstyle="{m.group(3)}"{m.group(2)}', text)


def main():
    template, output = arguments(__doc__, 2)
    parts = {
        "STYLES": styles(),
        "INPUT_SOURCE": " " * 8 + input_source(),
        "MAIN_VOLUME": " " * 8 + slider("slider_main_volume", 120, 24, extra=' min="-60" max="6"'),
        "ACC": " " * 8 + slider("slider_acc", 72, 24, extra=' min="0" max="30"'),
        "HP_FILTER": filter_combos("hp"),
        "LP_FILTER": filter_combos("lp"),
        "CHANNEL_HEADER": channel_header(),
        "CHANNEL_ROWS": channel_rows(),
        "BAND_LABELS": band_labels(),
        "BAND_COLUMNS": band_columns(),
        "EQ_CHART": eq_chart(),
        "ROUTING_BLOCKS": routing_blocks(),
        "SPEAKER_PINS": speaker_pins(),
        "DELAY_UNIT": " " * 16 + combo("comb_ch_unit", 84, [("", "${delay_unit_ms}", True),
                                                          ("", "${delay_unit_cm}", True),
                                                          ("", "${delay_unit_inch}", True)], chosen=0),
        "BRIDGE_BUTTONS": bridge_buttons(),
    }
    values = {
        "STRIP_WIDTH": str(STRIP_WIDTH),
        "PAGE_HEIGHT": str(PAGE_HEIGHT),
        "CAR_WIDTH": str(CAR_WIDTH),
    }
    with open(template, encoding="utf-8") as source:
        lines = source.read().split("\n")
    out = []
    for line in lines:
        stripped = line.strip()
        if stripped.startswith("@@") and stripped.endswith("@@") and stripped[2:-2] in parts:
            out.append(parts[stripped[2:-2]])
            continue
        for name, value in values.items():
            line = line.replace(f"@@{name}@@", value)
        if "@@" in line:
            sys.exit(f"{template}: unknown part in: {stripped}")
        out.append(line)
    write_layout(output, style_first("\n".join(out)))


if __name__ == "__main__":
    main()
