"""The named settings of each camera type, from quorvel-settings.tsv beside
the package, read as the MATLAB class reads the one beside the MEX files:
tab-separated, lines starting with # are comments, the first other line
names the columns; type is a camera type or * for every type, and a row for
a type takes the place of a * row of the same name (any case). The file is
read at each call, so that an edit takes effect at once."""
import os
import re
import stat

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "quorvel-settings.tsv")
_COLUMNS = ("type", "name", "number", "unit", "meaning")
# ASCII only, so that both hosts read a cell alike and match names in the same case rules.
_WHOLE = re.compile(r"[0-9]+\Z")
_NAME = re.compile(r"[A-Za-z][A-Za-z0-9_]*\Z")
_LARGEST_NUMBER = 2**32 - 1


def settings_of(camera_type, path=TABLE):
    """The rows for the camera type, in the file's order: dicts with name,
    number, unit and meaning. A malformed table raises ValueError naming
    the file and the line."""
    kept = {}  # by name in lower case: (row, its type), in the file's order
    for _, field in _rows(path):
        if field["type"] != "*" and int(field["type"]) != camera_type:
            continue
        row = {"name": field["name"], "number": int(field["number"]), "unit": field["unit"],
               "meaning": field["meaning"]}
        earlier = kept.get(row["name"].lower())
        if earlier is None or earlier[1] == "*":
            kept[row["name"].lower()] = (row, field["type"])
    return [row for row, _ in kept.values()]


def _rows(path):
    """Each row of the table as its line and a dict of its cells, all checked."""
    lines = [line for line in re.findall(r"[^\r\n]+", _text(path)) if not line.startswith("#")]
    header = lines[0].split("\t") if lines else []
    missing = [column for column in _COLUMNS if column not in header]
    if missing:
        raise ValueError(f"{path}: the header names no column {', '.join(missing)}.")
    seen = set()
    for line in lines[1:]:
        cells = line.split("\t")
        if len(cells) != len(header):
            raise ValueError(f'{path}, line "{line}": {len(cells)} columns, where the header names {len(header)}.')
        field = dict(zip(header, cells))
        if not (field["type"] == "*" or _WHOLE.match(field["type"])):
            raise ValueError(f'{path}, line "{line}": the type "{field["type"]}" is neither * nor a whole number.')
        if not _NAME.match(field["name"]):
            raise ValueError(f'{path}, line "{line}": the name "{field["name"]}" is not a letter followed by '
                             "letters, digits and underscores.")
        if not (_WHOLE.match(field["number"]) and int(field["number"]) <= _LARGEST_NUMBER):
            raise ValueError(f'{path}, line "{line}": the number "{field["number"]}" is not a whole number '
                             f"from 0 to {_LARGEST_NUMBER}.")
        key = (field["type"], field["name"].lower())
        if key in seen:
            raise ValueError(f'{path}, line "{line}": the name "{field["name"]}" is given twice for type '
                             f"{field['type']}.")
        seen.add(key)
        yield line, field


def _text(path):
    """The table's text without a byte-order mark; a path that is not a
    regular file (a folder, a pipe that would block) is refused."""
    try:
        if not stat.S_ISREG(os.stat(path).st_mode):
            raise ValueError(f"{path}: not a regular file.")
        with open(path, "rb") as table:
            data = table.read()
        return data.decode("utf-8", errors="replace").removeprefix("\ufeff")  # as Octave keeps any bytes
    except OSError as failed:
        raise ValueError(f"{path}: cannot be read ({failed.strerror}).") from None
