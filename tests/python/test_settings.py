"""Settings by name from quorvel-settings.tsv beside the package: the one that
ships names the simulated cameras' parameters; a lab's own table is read as
the MATLAB class reads one beside the MEX files."""
import os
import shutil
import subprocess
import sys

import pytest

import quorvel
from quorvel import _settings, sim
from conftest import PACKAGE_DIR


def test_settings_by_name_with_units_and_limits():
    with quorvel.Camera(1002) as cam:
        cam.set("Exposure", 500)
        assert (cam.get_parameter(11), cam.get("EXPOSURE")) == (500, 500)
        assert cam.setting_names() == ["PixelFormat", "ExtraFrames", "Exposure", "Width", "Height", "OpenSetting"]
        listed = {row["number"]: row for row in cam.parameters()}
        assert listed[11] == {"name": "Exposure", "number": 11, "value": 500, "limits": (1, 1000000), "unit": "us"}
        assert listed[15]["unit"] == "pixels" and listed[15]["limits"] == (16, 4096)
        with pytest.raises(ValueError, match="from 1 to 1000000; 0 is outside"):
            cam.set("exposure", 0)
        with pytest.raises(ValueError, match="camera 1002: camera type 2 has no setting named 'Gain'; its settings are "
                                             "PixelFormat, ExtraFrames, Exposure, Width, Height, OpenSetting$"):
            cam.set("Gain", 1)
        with pytest.raises(TypeError, match="a setting's name is a text"):
            cam.get(11)


def test_a_parameter_read_that_fails_raises_instead_of_a_shorter_list():
    with quorvel.Camera(1002) as cam:
        sim.forceWhere("drvGetParameter", 2, 11, 1, 1)  # the read of parameter 11 fails once
        with pytest.raises(quorvel.QuorvelError) as failed:
            cam.parameters()
        assert (failed.value.status, failed.value.command) == (7, "GetParameter")
        with pytest.raises(quorvel.QuorvelError):
            cam.parameters([40])  # a number asked for that the camera lacks


@pytest.mark.parametrize("lines, words", [
    (["type\tname\tnumber\tunit\tmeaning", "*\tGain\t40\tdB"], r'line "\*\tGain\t40\tdB": 4 columns, where the header names 5'),
    (["type\tname\tnumber\tunit", "*\tGain\t40\tdB"], "the header names no column meaning"),
    (["type\tname\tnumber\tunit\tmeaning", "*\tGain\tforty\tdB\tgain"], 'the number "forty" is not a whole number'),
    # Read alike by both hosts: ASCII types, names and numbers of one parameter word, one row per name and type.
    (["type\tname\tnumber\tunit\tmeaning", "+2\tGain\t40\tdB\tgain"], 'the type "\\+2" is neither'),
    (["type\tname\tnumber\tunit\tmeaning", "\u0662\tGain\t40\tdB\tgain"], 'the type "\u0662" is neither'),
    (["type\tname\tnumber\tunit\tmeaning", "*\tMy Gain\t40\tdB\tgain"], 'the name "My Gain" is not a letter'),
    (["type\tname\tnumber\tunit\tmeaning", "*\t\u00c4\t40\tdB\tgain"], 'the name "\u00c4" is not a letter'),
    (["type\tname\tnumber\tunit\tmeaning", "*\tGain\t4294967296\tdB\tgain"], "not a whole number from 0 to 4294967295"),
    (["type\tname\tnumber\tunit\tmeaning", "*\tGain\t40\tdB\tgain", "*\tgain\t41\tdB\tgain"],
     'the name "gain" is given twice for type \\*'),
])
def test_a_malformed_table_is_refused_naming_the_line(tmp_path, lines, words):
    table = tmp_path / "quorvel-settings.tsv"
    table.write_text("# a lab's table\n" + "\n".join(lines) + "\n")
    with pytest.raises(ValueError, match=words):
        _settings.settings_of(2, table)


def test_a_table_from_another_editor_reads_as_written(tmp_path):
    table = tmp_path / "quorvel-settings.tsv"
    table.write_bytes(b"\xef\xbb\xbftype\tname\tnumber\tunit\tmeaning\r\n*\tGain\t11\t\tgain\r\n")
    assert _settings.settings_of(2, table) == [{"name": "Gain", "number": 11, "unit": "", "meaning": "gain"}]


def test_a_table_path_that_is_no_file_is_refused_at_once(tmp_path):
    os.mkfifo(tmp_path / "pipe.tsv")  # a read of it would wait for a writer
    for path in (tmp_path / "pipe.tsv", tmp_path):
        with pytest.raises(ValueError, match="not a regular file"):
            _settings.settings_of(2, path)
    with pytest.raises(ValueError, match=r"cannot be read \(No such file"):
        _settings.settings_of(2, tmp_path / "none.tsv")


def test_a_labs_own_table_beside_the_package(tmp_path):
    shutil.copytree(f"{PACKAGE_DIR}/quorvel", tmp_path / "quorvel")
    (tmp_path / "quorvel" / "quorvel-settings.tsv").write_text(
        "type\tname\tnumber\tunit\tmeaning\n*\tShutter\t11\tms\tfor all\n2\tshutter\t35\tticks\tfor type 2\n")
    script = ("import quorvel\n"
              "with quorvel.Camera(1002) as a, quorvel.Camera(1001) as b:\n"
              "    a.set('Shutter', 77)\n"
              "    print(a.get_parameter(35), b.get('shutter'), a.parameters([35])[0]['unit'], b.setting_names())\n")
    done = subprocess.run([sys.executable, "-c", script], cwd=tmp_path, capture_output=True, text=True, timeout=60,
                          env={"PYTHONPATH": str(tmp_path)})
    assert done.stdout == "77 1000 ticks ['Shutter']\n", done.stderr


def test_a_name_matches_in_ascii_case_only(monkeypatch):
    monkeypatch.setattr(_settings, "settings_of", lambda camera_type: [{"name": "Key", "number": 11, "unit": "us",
                                                                        "meaning": "a name with a k"}])
    with quorvel.Camera(1002) as cam:
        assert cam.get("KEY") == cam.get_parameter(11)
        with pytest.raises(ValueError, match="has no setting named"):
            cam.get("\u212aey")  # the Kelvin sign, which Python lowers to k and the MATLAB class does not
        monkeypatch.setattr(_settings, "settings_of", lambda camera_type: [])
        with pytest.raises(ValueError, match=r"has no setting named 'Key'; its settings are none \(the settings table"):
            cam.get("Key")  # a table of its header only
