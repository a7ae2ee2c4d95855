# Peer of the hexadecimal dump workload: builds a spaced-hexadecimal dump of
# N bytes and takes it apart pair by pair, R times.
proc dump {n} {
  set s ""
  for {set i 1} {$i <= $n} {incr i} { append s [format "%02X " [expr {$i & 255}]] }
  set sum 0
  for {set i 1} {$i <= $n} {incr i} {
    scan [string range $s [expr {$i * 3 - 3}] [expr {$i * 3 - 2}]] %x b
    incr sum $b
  }
  return $sum
}
proc work {r n} {
  set total 0
  for {set j 0} {$j < $r} {incr j} { incr total [dump $n] }
  return $total
}
puts [work [lindex $argv 0] [lindex $argv 1]]
