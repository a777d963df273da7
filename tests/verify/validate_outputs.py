#!/usr/bin/python3
"""Validates kestra verify's JSON output against docs/schema/verify-result.schema.json and its
JUnit file against docs/schema/junit.xsd (xmllint), then reads the JUnit file as a consumer
would. usage: validate_outputs.py SOURCE_DIR JSON_FILE JUNIT_FILE"""
import json
import subprocess
import sys
import xml.etree.ElementTree as ET

import jsonschema

source, json_file, junit_file = sys.argv[1:4]
with open(f"{source}/docs/schema/verify-result.schema.json") as f:
    schema = json.load(f)
with open(json_file) as f:
    jsonschema.validate(json.load(f), schema)
subprocess.run(["xmllint", "--noout", "--schema", f"{source}/docs/schema/junit.xsd", junit_file],
               check=True)
suites = ET.parse(junit_file).getroot()
cases = suites.findall("./testsuite/testcase")
assert cases, "no test case"
assert int(suites.get("tests")) == len(cases)
print("valid")
