"""Builds the extension with the project's CMake build and puts it, with
the simulated driver beside it (found through $ORIGIN) and the settings
table, into the package."""
import os
import re
import shutil
import subprocess
import sys

from setuptools import setup
from setuptools.command.build_py import build_py
from setuptools.dist import Distribution

ROOT = os.path.dirname(os.path.abspath(__file__))


def module_version():
    """The module's version text, written once in gateway/ModuleVersion.h."""
    with open(os.path.join(ROOT, "gateway", "ModuleVersion.h")) as header:
        return re.search(r'kVersionText = "([^"]+)"', header.read()).group(1)


class BuildWithCMake(build_py):
    def run(self):
        super().run()
        build = os.path.abspath(os.path.join(self.get_finalized_command("build").build_temp, "cmake"))
        subprocess.check_call(["cmake", "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=Release", "-DQUORVEL_OCTAVE=OFF",
                               "-DQUORVEL_BENCH=OFF", f"-DPython3_EXECUTABLE={sys.executable}"])
        subprocess.check_call(["cmake", "--build", build, "--target", "quorvel_python", "-j2"])
        built = os.path.join(build, "python", "quorvel")
        for name in os.listdir(built):
            if name.endswith((".so", ".tsv")):  # the extension, the driver, the settings table
                shutil.copy2(os.path.join(built, name), os.path.join(self.build_lib, "quorvel", name))


class BinaryDistribution(Distribution):
    def has_ext_modules(self):
        return True  # a platform wheel: the package holds compiled code


setup(version=module_version(), packages=["quorvel"], package_dir={"": "python"},
      cmdclass={"build_py": BuildWithCMake}, distclass=BinaryDistribution)
