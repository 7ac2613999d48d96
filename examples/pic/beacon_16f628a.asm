; FST4 / FST4W beacon keyer for a PIC16F628A, assembled with gputils' gpasm.
;
; It sends the 160 channel symbols of one message, as the sympack tool wrote
; them into FST4.INC, once per transmission: the tone number (0 to 3) on RB1:RB0
; and "transmitting" on RB2, for a DDS or Si5351 driver (or a second part) that
; sets the frequency f0 + tone * spacing and keys the transmitter. Everything
; is timed from the oscillator by Timer2, so the frequency must be exact.
;
;   gpasm -D FOSC=12000000 -D PERIOD=120 -I <folder of FST4.INC> beacon_16f628a.asm
;
; FOSC    oscillator in Hz, a multiple of 6000 (6, 12 or 18.432 MHz crystals).
; PERIOD  the T/R period in seconds: 15, 30, 60, 120, 300, 900 or 1800 for FST4,
;         120 to 1800 for FST4W (the second message of a pair needs the tool's --fst4w).
; START_SECOND  seconds into the slot at power-up. A real beacon sets the clock
;         from GPS or an RTC instead (see wait_for_slot); the default starts
;         two seconds before a slot boundary, so a simulated run does not idle.
;
; Timing: the receiver's sample rate is 12000 Hz and a symbol lasts NSPS
; samples (WSJT-X lib/fst4/fst4sim.f90: nsps per T/R period), the tones are
; 12000/NSPS Hz apart. The transmission starts 1 s into the slot, 0.5 s into a
; 15 s slot (where WSJT-X's fst4sim puts it, and where jt9 measures DT 0). NSPS is
; a multiple of 8 for every period, so a tick of 8 samples (1/1500 s) times
; it all: Timer2 sets TMR2IF every FOSC/4/1500 instruction cycles.

        list    p=16f628a
        radix   dec
        #include <p16f628a.inc>

        errorlevel -302                 ; banksel is used for every bank 1 register

        #ifndef FOSC
        #define FOSC 12000000
        #endif
        #ifndef PERIOD
        #define PERIOD 120
        #endif
        #ifndef START_SECOND
        #define START_SECOND (PERIOD - 2)
        #endif

; Oscillator mode from the frequency (LP up to 200 kHz, XT up to 4 MHz).
        if      FOSC <= 200000
        __config _LP_OSC & _WDT_OFF & _PWRTE_ON & _MCLRE_ON & _BOREN_OFF & _LVP_OFF & _CP_OFF
        else
        if      FOSC <= 4000000
        __config _XT_OSC & _WDT_OFF & _PWRTE_ON & _MCLRE_ON & _BOREN_OFF & _LVP_OFF & _CP_OFF
        else
        __config _HS_OSC & _WDT_OFF & _PWRTE_ON & _MCLRE_ON & _BOREN_OFF & _LVP_OFF & _CP_OFF
        endif
        endif

; Samples per symbol for each T/R period (fst4sim.f90).
NSPS    set     0
        if      PERIOD == 15
NSPS    set     720
        endif
        if      PERIOD == 30
NSPS    set     1680
        endif
        if      PERIOD == 60
NSPS    set     3888
        endif
        if      PERIOD == 120
NSPS    set     8200
        endif
        if      PERIOD == 300
NSPS    set     21504
        endif
        if      PERIOD == 900
NSPS    set     66560
        endif
        if      PERIOD == 1800
NSPS    set     134400
        endif
        if      NSPS == 0
        error   "PERIOD must be 15, 30, 60, 120, 300, 900 or 1800"
        endif

TICKS_PER_SECOND equ 1500               ; 12000 samples / 8
TICKS_PER_SYMBOL equ NSPS / 8           ; 90 (FST4-15) to 16800 (1800 s)
        if      PERIOD == 15
START_OFFSET     equ TICKS_PER_SECOND / 2 ; symbols start 0.5 s into a 15 s slot
        else
START_OFFSET     equ TICKS_PER_SECOND   ; and 1 s into longer ones
        endif
SYMBOL_BYTES     equ 40                 ; 160 symbols, four to a byte
TX_ON            equ 0x04               ; RB2: transmitting

; Timer2 counts instruction cycles (FOSC/4) through its prescaler up to PR2.
TICK_CYCLES equ FOSC / 4 / TICKS_PER_SECOND
        if      FOSC % 6000 != 0
        error   "FOSC must be a multiple of 6000 Hz"
        endif
; Sending a symbol and fetching the next takes up to about 50 cycles; within
; one tick, it never delays a symbol (measured under gpsim, scripts/beacons.sh).
        if      TICK_CYCLES < 64
        error   "FOSC too low (under 384 kHz): a tick must leave time to fetch the next symbol"
        endif
        if      TICK_CYCLES <= 256
T2_PRESCALE equ 1
T2_BITS     equ 0x04                    ; TMR2ON, prescaler 1:1
        else
        if      TICK_CYCLES <= 1024 && TICK_CYCLES % 4 == 0
T2_PRESCALE equ 4
T2_BITS     equ 0x05                    ; TMR2ON, prescaler 1:4
        else
        if      TICK_CYCLES <= 4096 && TICK_CYCLES % 16 == 0
T2_PRESCALE equ 16
T2_BITS     equ 0x06                    ; TMR2ON, prescaler 1:16
        else
        error   "FOSC/6000 must fit Timer2: up to 256, 1024 (multiple of 4) or 4096 (of 16)"
        endif
        endif
        endif

        cblock  0x20
        ticks_lo, ticks_hi              ; wait_ticks: ticks still to wait
        second_lo, second_hi            ; seconds into the current slot
        byte_index                      ; next symbol byte in EEPROM
        packed                          ; the byte being sent, next symbol on top
        in_byte                         ; symbols left in it
        symbols_left                    ; symbols not yet sent
        tone                            ; the next symbol, 0 to 3
        endc

        org     0
        goto    start

; Waits for ticks_hi:ticks_lo ticks (at least 1). Each tick
; is seen by polling TMR2IF; the flag is set by the timer, so a late look
; does not shift the next tick.
wait_ticks:
        btfss   PIR1, TMR2IF
        goto    wait_ticks
        bcf     PIR1, TMR2IF
        movf    ticks_lo, f
        btfsc   STATUS, Z
        decf    ticks_hi, f
        decf    ticks_lo, f
        movf    ticks_lo, w
        iorwf   ticks_hi, w
        btfss   STATUS, Z
        goto    wait_ticks
        return

; Puts the next symbol into tone: fetches a byte from EEPROM every fourth
; call, then takes its two top bits (the first symbol is in bits 7:6).
next_symbol:
        movf    in_byte, f
        btfss   STATUS, Z
        goto    unpack
        movf    byte_index, w
        banksel EEADR
        movwf   EEADR
        bsf     EECON1, RD
        movf    EEDATA, w
        banksel packed
        movwf   packed
        incf    byte_index, f
        movlw   4
        movwf   in_byte
unpack:
        clrf    tone
        rlf     packed, f               ; bit 7 into carry ...
        rlf     tone, f                 ; ... and into tone
        rlf     packed, f
        rlf     tone, f
        decf    in_byte, f
        return

start:
        clrf    PORTB                   ; not transmitting
        movlw   0x07
        movwf   CMCON                   ; comparators off
        banksel TRISB
        clrf    TRISB                   ; RB0-RB7 outputs
        movlw   TICK_CYCLES / T2_PRESCALE - 1
        movwf   PR2
        banksel T2CON
        movlw   T2_BITS
        movwf   T2CON
        bcf     PIR1, TMR2IF
        movlw   low START_SECOND
        movwf   second_lo
        movlw   high START_SECOND
        movwf   second_hi

; Counts seconds until the slot boundary (second 0 of PERIOD). With a GPS,
; wait for its pulse per second and the start of a slot instead.
wait_for_slot:
        movlw   low TICKS_PER_SECOND
        movwf   ticks_lo
        movlw   high TICKS_PER_SECOND
        movwf   ticks_hi
        call    wait_ticks
        incf    second_lo, f
        btfsc   STATUS, Z
        incf    second_hi, f
        movf    second_lo, w
        xorlw   low PERIOD
        btfss   STATUS, Z
        goto    wait_for_slot
        movf    second_hi, w
        xorlw   high PERIOD
        btfss   STATUS, Z
        goto    wait_for_slot
        clrf    second_lo
        clrf    second_hi

; The slot has begun. Fetch the first symbol, then wait the start offset.
        clrf    byte_index
        clrf    in_byte
        movlw   SYMBOL_BYTES * 4
        movwf   symbols_left
        call    next_symbol
        movlw   low START_OFFSET
        movwf   ticks_lo
        movlw   high START_OFFSET
        movwf   ticks_hi
        call    wait_ticks

; Each symbol goes out right after the tick that starts it; the next one is
; fetched while it is on the air (well within one tick).
send_symbol:
        movf    tone, w
        iorlw   TX_ON
        movwf   PORTB
        decfsz  symbols_left, f
        call    next_symbol
        movlw   low TICKS_PER_SYMBOL
        movwf   ticks_lo
        movlw   high TICKS_PER_SYMBOL
        movwf   ticks_hi
        call    wait_ticks
        movf    symbols_left, f
        btfss   STATUS, Z
        goto    send_symbol
        clrf    PORTB                   ; transmission over

; One transmission sent (a simulator stops here). A beacon that sends every
; slot would count the seconds the transmission took into second_lo/hi and
; go back to wait_for_slot.
sent:
        goto    sent

; The symbols: FST4.INC's `de` lines put one byte per EEPROM cell from 0x2100.
; Labels after them do not count bytes in gpasm (two per value), so the
; length is SYMBOL_BYTES, not a label difference.
        org     0x2100
        #include "FST4.INC"

        end
