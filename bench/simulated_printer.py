"""The simulated T48's SNMP side for the benchmarks: snmpd serving t48-printer-sim's
profile table on a loopback address, started and stopped by its PID."""
import os
import socket
import subprocess
import time


def profile_rows(count, locations=(4,)):
    """`count` table rows, the classes taking turns (RGB, destination, simulation) and the
    locations too (4 the printer's disk, 5 its card)."""
    return "".join(f"{i}\t{locations[i % len(locations)]}\tProfile {i}\tPROF{i}.ICC\t"
                   f"{(i - 1) % 3 + 1}\t0\t1\n" for i in range(1, count + 1))


def udp_bound(address, port):
    probe = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    try:
        probe.bind((address, port))
        return False
    except OSError:
        return True
    finally:
        probe.close()


def start(build, work, address, port, rows):
    """snmpd serving `rows` (profile_rows' text) on address:port, its files under `work`;
    returns its Popen once it listens."""
    rows_file = os.path.join(work, "rows")
    with open(rows_file, "w") as out:
        out.write(rows)
    with open(os.path.join(build, "sim", "snmpd.conf.in")) as template:
        conf = (template.read().replace("@AGENT_ADDRESS@", f"udp:{address}:{port}")
                .replace("@PRINTER_SIM@", os.path.join(build, "sim", "t48-printer-sim"))
                .replace("@ROWS_FILE@", rows_file).replace("@REQUEST_LOG@", ""))
    conf_path = os.path.join(work, "snmpd.conf")
    with open(conf_path, "w") as out:
        out.write(conf)
    env = dict(os.environ, SNMP_PERSISTENT_DIR=os.path.join(work, "snmp-state"), MIBS="",
               MIBDIRS="/nonexistent")
    agent = subprocess.Popen(["/usr/sbin/snmpd", "-f", "-Lo", "-C", "-c", conf_path], env=env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 10
    while not udp_bound(address, port):
        if agent.poll() is not None or time.monotonic() > deadline:
            stop(agent)
            raise SystemExit(f"snmpd did not start on {address}:{port}")
        time.sleep(0.02)
    return agent


def stop(agent):
    if agent.poll() is None:
        agent.terminate()
    agent.wait()
