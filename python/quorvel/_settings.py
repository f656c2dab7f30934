"""The named settings of each camera type, from quorvel-settings.tsv beside
the package, read as the MATLAB class reads the one beside the MEX files:
tab-separated, lines starting with # are comments, the first other line
names the columns; type is a camera type or * for every type, and a row for
a type takes the place of a * row of the same name (any case). The file is
read at each call, so that an edit takes effect at once."""
import os

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "quorvel-settings.tsv")
_COLUMNS = ("type", "name", "number", "unit", "meaning")


def settings_of(camera_type, path=TABLE):
    """The rows for the camera type, in the file's order: dicts with name,
    number, unit and meaning. A malformed table raises ValueError naming
    the file and the line."""
    with open(path, encoding="utf-8") as table:
        lines = [line for line in table.read().splitlines() if line and not line.startswith("#")]
    header = lines[0].split("\t") if lines else []
    missing = [column for column in _COLUMNS if column not in header]
    if missing:
        raise ValueError(f"{path}: the header names no column {', '.join(missing)}.")
    rows, types = [], []
    for line in lines[1:]:
        cells = line.split("\t")
        if len(cells) != len(header):
            raise ValueError(f'{path}, line "{line}": {len(cells)} columns, where the header names {len(header)}.')
        field = dict(zip(header, cells))
        if not (field["number"].isascii() and field["number"].isdigit()):
            raise ValueError(f'{path}, line "{line}": the number "{field["number"]}" is not a whole number.')
        if field["type"] != "*" and not (field["type"].isdigit() and int(field["type"]) == camera_type):
            continue
        row = {"name": field["name"], "number": int(field["number"]), "unit": field["unit"],
               "meaning": field["meaning"]}
        same = next((k for k, kept in enumerate(rows) if kept["name"].lower() == row["name"].lower()), None)
        if same is None:
            rows.append(row)
            types.append(field["type"])
        elif types[same] == "*":
            rows[same], types[same] = row, field["type"]
    return rows
